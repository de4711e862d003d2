// skin_tool: developer tool for skins (not shipped). Everything goes through the skin engine's own reader and writer.
//   skin_tool info FILE|DIR    print the skin as JSON (UTF-8): name, format and version, pictures with their sizes,
//                              the [FORMINFO] geometry, the object and control entries with their kinds and fields
//   skin_tool pack DIR OUT     the ini skin of DIR (its "skin.ini", else its only *.ini) with its BMP files as one
//                              compressed block (version 3, zlib level 9); the ini text is kept as it stands
//   skin_tool unpack FILE DIR  a compressed block as "skin.ini" and BMP files in DIR
// Exit codes: 0 done, 1 wrong usage, 2 the skin was refused (the loader's error on standard error) or a file could
// not be written.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/Utf.h"
#include "classlib/SysUtils.h"
#include "tools/common/ToolSupport.h"
#include "skin/core/CompressedSkin.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinIniValues.h"

namespace {

constexpr int kExitUsage = 1;
constexpr int kExitFailed = 2;

class SkinError : public std::exception {
  public:
    explicit SkinError(std::wstring m) : message(std::move(m)) {}
    std::wstring message;
};

bool IsDirectory(const std::wstring& path) {
    DWORD a = ::GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// The ini file of a skin folder: "skin.ini" when present, else the only *.ini there.
std::wstring FindIniFile(const std::wstring& dir) {
    const std::wstring folder = IncludeTrailingPathDelimiter(dir);
    if (::GetFileAttributesW((folder + L"skin.ini").c_str()) != INVALID_FILE_ATTRIBUTES)
        return folder + L"skin.ini";
    std::vector<std::wstring> found;
    WIN32_FIND_DATAW fd;
    HANDLE h = ::FindFirstFileW((folder + L"*.ini").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                found.push_back(folder + fd.cFileName);
        } while (::FindNextFileW(h, &fd));
        ::FindClose(h);
    }
    if (found.size() != 1)
        throw SkinError(L"no skin.ini and not exactly one *.ini file in " + dir);
    return found[0];
}

// ---- JSON ---------------------------------------------------------------------------------------------------------
std::string FieldJson(const TbsField& f) {
    switch (f.Kind) {
        case TbsFieldKind::Integer:
        case TbsFieldKind::Color:
            return std::to_string(*static_cast<const int*>(f.Ptr));
        case TbsFieldKind::Boolean:
            return *static_cast<const bool*>(f.Ptr) ? "true" : "false";
        case TbsFieldKind::Rect: {
            const TRect& r = *static_cast<const TRect*>(f.Ptr);
            return "[" + std::to_string(r.Left) + "," + std::to_string(r.Top) + "," + std::to_string(r.Right) + "," +
                   std::to_string(r.Bottom) + "]";
        }
        case TbsFieldKind::Point: {
            const TPoint& p = *static_cast<const TPoint*>(f.Ptr);
            return "[" + std::to_string(p.X) + "," + std::to_string(p.Y) + "]";
        }
        default:
            return JsonQuote(FieldValueText(f));
    }
}

std::string FieldsJson(const TbsFieldList& list) {
    std::string out = "{";
    bool first = true;
    TbsFieldLambda sink([&](const TbsField& f) {
        out += (first ? "" : ", ") + JsonQuote(f.Name) + ": " + FieldJson(f);
        first = false;
    });
    list(sink);
    return out + "}";
}

std::string PictureJson(const std::wstring& name, TBitmap* bmp) {
    return "{\"name\": " + JsonQuote(name) + ", \"width\": " + std::to_string(bmp->Width()) +
           ", \"height\": " + std::to_string(bmp->Height()) + "}";
}

std::string SkinJson(TbsSkinData* d, const std::wstring& format, int version) {
    std::string o = "{\n";
    o += "  \"format\": " + JsonQuote(format) + ",\n";
    o += "  \"version\": " + (version < 0 ? std::string("null") : std::to_string(version)) + ",\n";
    o += "  \"name\": " + JsonQuote(d->SkinName) + ",\n";
    o += "  \"author\": " + JsonQuote(d->SkinAuthor) + ",\n";
    o += "  \"pictures\": {\n";
    o += "    \"picture\": " + PictureJson(d->FPictureName, d->FPicture.get()) + ",\n";
    o += "    \"inactivepicture\": " + PictureJson(d->FInActivePictureName, d->FInActivePicture.get()) + ",\n";
    o += "    \"mask\": " + PictureJson(d->FMaskName, d->FMask.get()) + ",\n";
    o += "    \"active\": [";
    for (int i = 0; i < d->ActivePictureCount(); ++i) {
        std::wstring name = i < d->FActivePicturesNames->Count() ? d->FActivePicturesNames->Get(i) : L"";
        o += (i ? ",\n      " : "\n      ") + PictureJson(name, d->GetActivePicture(i));
    }
    o += d->ActivePictureCount() ? "\n    ]\n  },\n" : "]\n  },\n";
    o += "  \"forminfo\": " + FieldsJson([d](TbsFieldSink& s) {
             d->FormInfoFields1(s);
             d->FormInfoFields2(s);
         }) +
         ",\n";
    o += "  \"popupwindow\": " + FieldsJson(d->PopupWindow.Fields()) + ",\n";
    o += "  \"layerframe\": " + FieldsJson(d->LayerFrame.Fields()) + ",\n";
    o += "  \"hintwindow\": " + FieldsJson(d->HintWindow.Fields()) + ",\n";
    o += "  \"skincolors\": " + FieldsJson(d->SkinColors()->Fields()) + ",\n";
    auto entries = [&](const char* key, auto& list) {
        o += std::string("  \"") + key + "\": [";
        for (size_t i = 0; i < list.size(); ++i)
            o += (i ? ",\n    " : "\n    ") + std::string("{\"name\": ") + JsonQuote(list[i]->IDName) +
                 ", \"kind\": " + JsonQuote(list[i]->KindWord()) + ", \"fields\": " + FieldsJson(list[i]->Fields()) +
                 "}";
        o += list.empty() ? "]" : "\n  ]";
    };
    entries("objects", d->ObjectList);
    o += ",\n";
    entries("controls", d->CtrlList);
    return o + "\n}\n";
}

// ---- Loading ------------------------------------------------------------------------------------------------------
// Loads FILE (a compressed block) or DIR (an ini skin) into data; the block's version in version (-1 for ini).
void LoadSkin(TbsSkinData* data, const std::wstring& path, std::wstring& format, int& version) {
    std::uint32_t before = data->LoadCount();
    if (IsDirectory(path)) {
        format = L"ini";
        version = -1;
        std::wstring ini = FindIniFile(path);
        data->LoadFromFile(ini);
        if (data->LoadCount() == before)
            throw SkinError(ini +
                            L" is not a skin: one of the sections VERSION, PICTURES, FORMINFO, SKINOBJECTS, "
                            L"SKINCONTROLS is missing or empty");
        return;
    }
    format = L"compressed";
    std::string block = LoadBytesFromFile(path);
    version = block.size() >= 4
                  ? static_cast<int>(static_cast<std::uint8_t>(block[0]) | (static_cast<std::uint8_t>(block[1]) << 8) |
                                     (static_cast<std::uint8_t>(block[2]) << 16) |
                                     (static_cast<std::uint32_t>(static_cast<std::uint8_t>(block[3])) << 24))
                  : -1;
    TbsCompressedStoredSkin stored(nullptr);
    stored.LoadFromCompressBytes(block);
    if (stored.GetEmpty())
        throw SkinError(path + L": no skin (block version " + IntToStr(version) + L", or an empty block)");
    data->LoadCompressedStoredSkin(&stored);
    if (data->LoadCount() == before)
        throw SkinError(path + L": the content is of a newer version than this reader takes");
}

int Run(int argc, wchar_t** argv) {
    if (argc < 3)
        return kExitUsage;
    const std::wstring command = argv[1];
    TbsSkinData data(nullptr);
    data.FBuilderMode = true;
    std::wstring format;
    int version = -1;
    if (command == L"info" && argc == 3) {
        LoadSkin(&data, argv[2], format, version);
        std::string json = SkinJson(&data, format, version);
        std::fwrite(json.data(), 1, json.size(), stdout);
        return 0;
    }
    if (command == L"pack" && argc == 4) {
        // Checked through the full loader first, so that a block is only written for a skin the engine takes.
        LoadSkin(&data, argv[2], format, version);
        if (format != L"ini")
            throw SkinError(std::wstring(argv[2]) + L" is not a folder");
        TbsCompressedStoredSkin stored(nullptr);
        stored.LoadFromIniFile(FindIniFile(argv[2]));
        std::string block = stored.CompressBlock();
        SaveBytesToFileSafely(argv[3], block.data(), block.size());
        return 0;
    }
    if (command == L"unpack" && argc == 4) {
        LoadSkin(&data, argv[2], format, version);
        const std::wstring dir = argv[3];
        ::CreateDirectoryW(dir.c_str(), nullptr);
        data.StoreToDisk(IncludeTrailingPathDelimiter(dir) + L"skin.ini");
        return 0;
    }
    return kExitUsage;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    try {
        int rc = Run(argc, argv);
        if (rc == kExitUsage)
            std::fputs("usage: skin_tool info FILE|DIR | pack DIR OUT | unpack FILE DIR\n", stderr);
        return rc;
    } catch (const SkinError& e) {
        std::fprintf(stderr, "skin_tool: %s\n", WideToUtf8(e.message).c_str());
    } catch (const Exception& e) {
        std::fprintf(stderr, "skin_tool: %s\n", e.what());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skin_tool: %s\n", e.what());
    }
    return kExitFailed;
}
