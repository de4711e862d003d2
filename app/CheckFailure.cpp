// Check failures graded for the user and their texts.
#include "app/CheckFailure.h"

#include <iterator>

#include "app/MailCheck.h"

using netlib::NetCause;
using netlib::NetCode;

TCheckFailure CheckFailureOf(const netlib::NetStatus& status) {
    if (status.ok() || status.code == NetCode::Cancelled)
        return TCheckFailure::None;
    if (status.code == NetCode::Auth)
        return TCheckFailure::Login;
    switch (status.cause) {
        case NetCause::Certificate:
            return TCheckFailure::Certificate;
        case NetCause::Timeout:
            return TCheckFailure::NoAnswer;
        case NetCause::Connect:
        case NetCause::Resolve:
            return TCheckFailure::Refused;
        default:
            return TCheckFailure::Protocol;
    }
}

std::wstring CheckFailureText(TCheckFailure failure, uint8_t langIndex) {
    // Russian, Belarusian, Ukrainian.
    // Short: the tray tip holds 127 characters, and several accounts may have failed.
    static const wchar_t* const kTexts[][3] = {
        {L"сертификат не доверен", L"сертыфікат не давераны", L"сертифікат не довірений"},
        {L"вход отклонён", L"уваход адхілены", L"вхід відхилено"},
        {L"сервер не отвечает", L"сервер не адказвае", L"сервер не відповідає"},
        {L"соединение отклонено", L"злучэнне адхілена", L"з'єднання відхилено"},
        {L"ошибка протокола", L"памылка пратакола", L"помилка протоколу"},
    };

    if (failure == TCheckFailure::None)
        return std::wstring();
    const size_t row = static_cast<size_t>(failure) - 1;
    if (row >= std::size(kTexts))
        return std::wstring();
    return kTexts[row][langIndex <= 2 ? langIndex : 0];
}

std::wstring CheckFailureHint(const TNotifierLists& lists, uint8_t langIndex) {
    std::wstring hint;
    for (const auto& account : lists.Accounts) {
        if (account->LastFailure == TCheckFailure::None)
            continue;
        if (!hint.empty())
            hint += L'\n';
        hint +=
            LoginAtDomain(account->Login, account->Domain) + L": " + CheckFailureText(account->LastFailure, langIndex);
    }
    return hint;
}
