// Pictures of the alert window's messages: THTMLPicture (image bytes of any format GDI+ reads, drawn through
// GDI+, with GIF frame bookkeeping), the named-picture store TPictureContainer and the URL cache
// THTMLPictureCache. Index: GifFrameCount, GifFrameAt, IsLocalPictureSource, THTMLPicture, TPictureItem,
// TPictureCollection, TPictureContainer, THTMLPictureCache.
//
// Pictures named by a letter never reach the network: a source that is a UNC path or begins with "//" is a
// missing picture. GUI thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "classlib/Classes.h"
#include "classlib/Component.h"
#include "classlib/Graphics.h"

// ---- GIF frame blocks (pure) -----------------------------------------------------------------------------------
// One frame: a graphic control extension (21 F9 04) followed by an image descriptor (2C) whose ten bytes all lie
// inside the data.
struct TGifFrameInfo {
    std::size_t offset = 0;   // position of the extension's 0x21
    std::uint16_t delay = 0;  // hundredths of a second
    std::uint16_t left = 0, top = 0, width = 0, height = 0;
};
bool IsGifData(std::string_view data);
// Number of frames; -1 when the data is not a GIF.
int GifFrameCount(std::string_view data);
// Frame n (1-based); false when there is no such frame.
bool GifFrameAt(std::string_view data, int n, TGifFrameInfo& info);
// False for UNC paths and "//" paths (picture sources that would reach the network).
bool IsLocalPictureSource(std::wstring_view path);

// ---- THTMLPicture ------------------------------------------------------------------------------------------------
class THTMLPicture : public TGraphic {
  public:
    THTMLPicture();
    ~THTMLPicture() override;
    void Assign(TPersistent* Source) override;

    bool Empty() const override { return isEmpty_; }
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void SetWidth(int) override {}
    void SetHeight(int) override {}
    void LoadFromStream(TStream* stream) override;
    void SaveToStream(TStream* stream) override;
    std::unique_ptr<TGraphic> CreateNew() const override { return std::make_unique<THTMLPicture>(); }
    // Errors leave the picture empty.
    void LoadFromFile(const std::wstring& fileName);
    void LoadFromBytes(std::string bytes);
    // RT_RCDATA resources: by name nothing when missing; by number EResNotFound when missing.
    void LoadFromResourceName(HINSTANCE module, const std::wstring& name);
    void LoadFromResourceID(HINSTANCE module, int id);
    // "RES://name" (the program's resource), "FILE://path" (a local file); any other scheme loads nothing.
    void LoadFromURL(const std::wstring& url);

    const std::string& Data() const { return data_; }
    bool Stretch = false;
    int Frame() const { return frame_; }
    void SetFrame(int n);
    int FrameCount();
    int FrameTime(int n);  // hundredths of a second, -1 when none
    bool IsGIF() const { return IsGifData(data_); }
    void FrameNext();
    void FramePrev();
    // One animation tick (a tenth of a second); true when the frame changed.
    bool Step();
    int FrameXPos() const { return frameXPos_; }
    int FrameYPos() const { return frameYPos_; }
    int MaxWidth() const { return width_; }
    int MaxHeight() const { return height_; }
    const std::wstring& ID() const { return id_; }
    bool Busy() const { return threadBusy_; }
    bool Asynch = true;
    TNotifyEvent OnFrameChange;

  protected:
    void Draw(TCanvas* canvas, const TRect& rect) override;

  private:
    void ReadPictureInfo();
    void Reset();
    std::string data_;
    bool isEmpty_ = true;
    std::wstring url_;
    std::wstring id_;
    int width_ = 0, height_ = 0;
    bool threadBusy_ = false;
    int frame_ = 1;
    int frameCount_ = -1;
    int frameXPos_ = 0, frameYPos_ = 0, frameXSize_ = 0, frameYSize_ = 0;
    int animMaxX_ = 0, animMaxY_ = 0;
    int nextCount_ = -1;
    int timerCount_ = -1;
};

// ---- Named pictures ----------------------------------------------------------------------------------------------
class TPictureItem : public TCollectionItem {
  public:
    explicit TPictureItem(TCollection* collection);
    ~TPictureItem() override;
    void Assign(TPersistent* Source) override;
    THTMLPicture* Picture() { return picture_.get(); }
    void SetPicture(TGraphic* value) { picture_->Assign(value); }
    std::wstring Name;
    int Tag = 0;

  private:
    std::unique_ptr<THTMLPicture> picture_;
};

class TPictureCollection : public TOwnedCollection {
  public:
    explicit TPictureCollection(TPersistent* owner);
    TPictureItem* Add() { return static_cast<TPictureItem*>(TCollection::Add()); }
    TPictureItem* Items(int i) const { return static_cast<TPictureItem*>(TCollection::Items(i)); }
    bool Animate();
};

class TPictureContainer : public TComponent {
  public:
    explicit TPictureContainer(TComponent* owner);
    ~TPictureContainer() override;
    TPictureCollection* Items() { return items_.get(); }
    // Case-insensitive, the first match; nullptr when none.
    virtual THTMLPicture* FindPicture(const std::wstring& name);

  private:
    std::unique_ptr<TPictureCollection> items_;
};

class THTMLPictureCache {
  public:
    ~THTMLPictureCache() { ClearPictures(); }
    THTMLPicture* AddPicture();
    // Exact comparison of the ID; nullptr when none.
    THTMLPicture* FindPicture(const std::wstring& id) const;
    int Count() const { return static_cast<int>(pictures_.size()); }
    THTMLPicture* GetPicture(int i) const { return pictures_.at(i).get(); }
    void ClearPictures() { pictures_.clear(); }
    bool Animate();

  private:
    std::vector<std::unique_ptr<THTMLPicture>> pictures_;
};
