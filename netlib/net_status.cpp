// Names of status codes and causes for logs and test messages.
#include "netlib/net_status.h"

namespace netlib {

const char* NetCodeName(NetCode code) {
    switch (code) {
        case NetCode::Ok:
            return "Ok";
        case NetCode::Refused:
            return "Refused";
        case NetCode::Mailbox:
            return "Mailbox";
        case NetCode::Auth:
            return "Auth";
        case NetCode::Connection:
            return "Connection";
        case NetCode::Cancelled:
            return "Cancelled";
    }
    return "?";
}

const char* NetCauseName(NetCause cause) {
    switch (cause) {
        case NetCause::None:
            return "None";
        case NetCause::Resolve:
            return "Resolve";
        case NetCause::Connect:
            return "Connect";
        case NetCause::Timeout:
            return "Timeout";
        case NetCause::Closed:
            return "Closed";
        case NetCause::Socket:
            return "Socket";
        case NetCause::Library:
            return "Library";
        case NetCause::Tls:
            return "Tls";
        case NetCause::Certificate:
            return "Certificate";
        case NetCause::Protocol:
            return "Protocol";
        case NetCause::TooLarge:
            return "TooLarge";
        case NetCause::Server:
            return "Server";
        case NetCause::Http:
            return "Http";
    }
    return "?";
}

}  // namespace netlib
