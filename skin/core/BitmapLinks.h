// Other sources of the skin bitmap and links into it: TbsBitmapLink (a named rectangle of a TbsBitmap that can be
// drawn, streamed and asked whether its corners, edges or middle hold masked pixels), GetBitmapLink, the stream text
// helpers ReadString/WriteString, and the rectangle text parser GetToken/StringToRect. The TbsBitmap stream, PCX and
// resource loaders are members of TbsBitmap implemented beside them. GUI thread only.
#pragma once

#include <memory>
#include <string>

#include "classlib/Classes.h"
#include "classlib/Graphics.h"
#include "classlib/Types.h"

class TbsBitmap;

class TbsBitmapLink : public TPersistent {
  public:
    TbsBitmapLink() = default;
    void Assign(TPersistent* Source) override;

    // The link does not own its image: whoever frees the image drops its links.
    TbsBitmap* Image() const { return FImage; }
    void SetImage(TbsBitmap* Value) { FImage = Value; }
    const TRect& Rect() const { return FRect; }
    void SetRect(const TRect& Value) { FRect = Value; }
    const std::wstring& Name() const { return FName; }
    void SetName(const std::wstring& Value) { FName = Value; }
    bool Masked() const { return FMasked; }
    bool MaskedBorder() const { return FMaskedBorder; }
    bool MaskedAngles() const { return FMaskedAngles; }

    // An image that is not empty and a rectangle of positive area.
    bool Assigned() const;
    void Draw(TbsBitmap* Bitmap, int X, int Y);
    void Draw(TCanvas* Canvas, int X, int Y);
    // Which parts of the rectangle hold masked pixels (transparent key or alpha below 255): Margin gives the left, top,
    // right and bottom widths of the corners and edges; without margins only Masked is found.
    void CheckingMasked(const TRect& Margin);
    void CheckingMasked();

    // Name (as ReadString/WriteString) and the rectangle as four 32-bit integers.
    void LoadFromStream(TStream* Stream);
    void SaveToStream(TStream* Stream);

  private:
    TbsBitmap* FImage = nullptr;
    TRect FRect;
    std::wstring FName;
    bool FMaskedBorder = false;
    bool FMaskedAngles = false;
    bool FMasked = false;
};

// A new link on Bitmap with its name and the rectangle (given, or parsed by StringToRect). The caller owns it.
std::unique_ptr<TbsBitmapLink> GetBitmapLink(TbsBitmap* Bitmap, const TRect& Rect);
std::unique_ptr<TbsBitmapLink> GetBitmapLink(TbsBitmap* Bitmap, const std::wstring& RectText);

// A text as a 32-bit character count and its UTF-16 characters; a count the stream cannot hold raises EReadError.
std::wstring ReadString(TStream* Stream);
void WriteString(TStream* Stream, const std::wstring& S);

// The text before the first delimiter (blank, "(", ")", ",", ":", ";" or "="), trimmed; S loses it and the delimiter
// and is left trimmed.
std::wstring GetToken(std::wstring& S);
// Four decimal tokens left, top, right, bottom; (0, 0, 0, 0) when any is not a number.
TRect StringToRect(const std::wstring& S);
