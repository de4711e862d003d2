// Compressed skins: the outer block (int32 version, int32 length N, N bytes of a zlib stream at level 9), the content
// of the zlib stream (version, three flagged picture slots, two more slots in version 2, the active pictures, the ini
// text), the compression routines over the real zlib, and the components that hold one compressed skin
// (TbsCompressedStoredSkin) or a named list of them (TbsCompressedSkinList).
//
// Every input is treated as hostile: lengths, picture counts and every BMP bfSize are checked against the bytes that
// remain, a decompressed size above kMaxSkinContentSize is refused, and each failure raises EbsSkinFormatError (or
// EDecompressionError for a damaged zlib stream) without reading past the end. Bytes after the end of the zlib stream
// are ignored. No windows.h here (TbsCompressedStoredSkin::LoadFromSkinData lives with the container).
// Index: EZlibError, ECompressionError, EDecompressionError, EbsSkinFormatError, CompressStream, DeCompressStream,
// TbsInflateReader, TbsSkinContent, TbsSkinContentView, ParseSkinContent, ParseSkinContentView, BuildSkinContent,
// TbsCompressedStoredSkin, TbsSkinListItem, TbsSkinListItems, TbsCompressedSkinList.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "classlib/Classes.h"
#include "classlib/Component.h"
#include "classlib/SysUtils.h"

TRELM_DECLARE_EXCEPTION(EZlibError, Exception);
TRELM_DECLARE_EXCEPTION(ECompressionError, EZlibError);
TRELM_DECLARE_EXCEPTION(EDecompressionError, EZlibError);
// A compressed skin whose layout does not hold together (lengths past the end, a broken picture, too large).
TRELM_DECLARE_EXCEPTION(EbsSkinFormatError, EStreamError);

class TbsSkinData;

// The newest block and content version this reader takes.
constexpr std::int32_t kCompressedSkinVersion = 3;
// Far above any real skin (the largest stored skins inflate to a few megabytes); guards against zip bombs.
constexpr std::int64_t kMaxSkinContentSize = 64ll * 1024 * 1024;

// zlib at level 9 of the whole InStream (from its start) appended to OutStream at its position.
void CompressStream(TStream* InStream, TStream* OutStream);
// Inflates InStream (from its start) onto OutStream, stopping at the end of the zlib stream. EDecompressionError
// "compression error" for damaged data, EbsSkinFormatError when the output would pass maxSize or the data ends
// before the zlib stream does.
void DeCompressStream(TStream* OutStream, TStream* InStream, std::int64_t maxSize = kMaxSkinContentSize);
// The same over bytes.
std::string CompressBytes(const std::string& data);
std::string DecompressBytes(const void* data, size_t size, std::int64_t maxSize = kMaxSkinContentSize);
// The first four inflated bytes as a little-endian integer (the content version); nullopt when the stream is too
// damaged or too short to tell.
std::optional<std::int32_t> PeekContentVersion(const void* data, size_t size);

// The decompressed content of a compressed skin. Pictures are whole BMP file images (nullopt: the slot is empty).
struct TbsSkinContent {
    std::int32_t Version = kCompressedSkinVersion;
    std::optional<std::string> Picture, InActivePicture, Mask;
    std::vector<std::string> ActivePictures;
    std::string IniText;  // the raw bytes (code page or byte-order mark)
};

// The same content as views into the inflated bytes, which must outlive it: a load takes the pictures from there
// without copying each of them first.
struct TbsSkinContentView {
    std::int32_t Version = kCompressedSkinVersion;
    std::optional<std::string_view> Picture, InActivePicture, Mask;
    std::vector<std::string_view> ActivePictures;
    std::string_view IniText;
};

// Inflates a zlib stream piece by piece into memory the caller names, so that a load writes each picture's pixels
// once, where they stay, instead of first into a copy of the whole content (fresh memory is what a load pays for).
// Every read is checked: EbsSkinFormatError when the stream ends before the bytes asked for or the content would
// pass maxSize, EDecompressionError for damaged data. Bytes after the end of the zlib stream are ignored.
class TbsInflateReader {
  public:
    TbsInflateReader(const void* data, size_t size, std::int64_t maxSize = kMaxSkinContentSize);
    ~TbsInflateReader();
    TbsInflateReader(const TbsInflateReader&) = delete;
    TbsInflateReader& operator=(const TbsInflateReader&) = delete;
    // Exactly n bytes into dest (what names the item in the error).
    void Read(void* dest, size_t n, const wchar_t* what);
    void Skip(size_t n, const wchar_t* what);
    std::int32_t Int32(const wchar_t* what);
    std::uint8_t Byte(const wchar_t* what);
    // Everything up to the end of the zlib stream.
    std::string Rest();
    // How many more content bytes maxSize allows.
    std::uint64_t Allowance() const;

  private:
    struct State;
    std::unique_ptr<State> z_;
};

// Walks content bytes. Versions above 3 come back with only Version set (the caller ignores such a skin).
TbsSkinContentView ParseSkinContentView(std::string_view bytes);
TbsSkinContent ParseSkinContent(const std::string& bytes);
// The content bytes as a version-3 writer lays them out.
std::string BuildSkinContent(const TbsSkinContent& content);

// One compressed skin in memory: the zlib stream without the 8-byte outer header.
class TbsCompressedStoredSkin : public TComponent {
  public:
    explicit TbsCompressedStoredSkin(TComponent* AOwner);
    ~TbsCompressedStoredSkin() override;

    bool GetEmpty() const;
    bool Empty() const { return GetEmpty(); }
    // From a loaded container: pictures as BMP images and the ini text the container writes.
    void LoadFromSkinData(TbsSkinData* ASkinData);
    // From an ini skin file and the BMP files beside it (the file's own text is kept). A file that is not a skin
    // leaves the component unchanged.
    void LoadFromIniFile(const std::wstring& AFileName);
    // The outer block over memory that outlives the component: the zlib stream is borrowed, not copied.
    void LoadFromBorrowedCompressBlock(std::string_view block);
    // The outer block from a file or stream. A version above 3 leaves the component empty, a stored length of 0 is
    // an empty skin; a length that runs past the end raises EbsSkinFormatError (the component is then empty).
    void LoadFromCompressFile(const std::wstring& AFileName);
    void LoadFromCompressStream(TStream* Stream);
    void LoadFromCompressBytes(const std::string& block);
    void SaveToCompressStream(TStream* Stream);
    // Nothing (no file) when the component is empty; the file is replaced only after a complete write.
    void SaveToCompressFile(const std::wstring& AFileName);
    void DeCompressToStream(TStream* S);
    // The decompressed content, parsed.
    TbsSkinContent DecompressContent();

    // The zlib stream: owned bytes, or bytes that outlive the component (a module's resource), which are read in
    // place and never copied, so that the skins not shown cost no memory of the process's own.
    void SetCompressedBytes(const std::string& zlibBytes);
    void SetBorrowedCompressedBytes(std::string_view zlibBytes);
    std::string_view CompressedView() const;
    std::string CompressedBytes() const;
    // The outer block: version 3, the length, the zlib stream.
    std::string CompressBlock() const;

    std::wstring FileName;
    std::wstring CompressedFileName;
    std::wstring Description;

  private:
    std::string FOwned;
    std::string_view FBorrowed;
};

class TbsCompressedSkinList;

// One named skin of a list; its skin is owned and created without owner.
class TbsSkinListItem : public TCollectionItem {
  public:
    explicit TbsSkinListItem(TCollection* Collection);
    ~TbsSkinListItem() override;
    TbsCompressedStoredSkin* Skin() const { return FSkin.get(); }
    std::wstring DisplayName() const override { return Name; }

    std::wstring Description;
    std::wstring FileName;
    std::wstring CompressedFileName;
    std::wstring Name;  // "bsSkin" and the item's index at creation

  private:
    std::unique_ptr<TbsCompressedStoredSkin> FSkin;
};

class TbsSkinListItems : public TOwnedCollection {
  public:
    explicit TbsSkinListItems(TbsCompressedSkinList* ASkinList);
    TbsSkinListItem* Items(int Index) const { return static_cast<TbsSkinListItem*>(TCollection::Items(Index)); }
    TbsSkinListItem* Add() { return static_cast<TbsSkinListItem*>(TCollection::Add()); }
};

class TbsCompressedSkinList : public TComponent {
  public:
    explicit TbsCompressedSkinList(TComponent* AOwner);
    ~TbsCompressedSkinList() override;
    TbsSkinListItems* Skins() { return FSkins.get(); }

  private:
    std::unique_ptr<TbsSkinListItems> FSkins;
};
