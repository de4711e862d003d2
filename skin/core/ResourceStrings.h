// TbsResourceStrData: the skin engine's own user texts (system menu, caption button hints, edit menu, message box
// buttons and captions, dialog labels) as lines NAME=value, with English defaults; looked up by name without regard to
// case, the first line of a name winning. No windows.h here.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "classlib/Classes.h"
#include "classlib/Component.h"

class TbsResourceStrData : public TComponent {
  public:
    explicit TbsResourceStrData(TComponent* AOwner);
    ~TbsResourceStrData() override;

    TStrings* ResStrings() { return FResStrs.get(); }
    // Replaces the whole table by a copy of Value (the defaults do not come back for names it lacks).
    void SetResStrs(const TStrings* Value);
    // The text after the first "=" of the first line whose name equals ResName without regard to case; empty when
    // there is none.
    std::wstring GetResStr(const std::wstring& ResName) const;

    // The font character set of the table's language (1, the default character set, at creation).
    std::uint8_t CharSet = 1;

  private:
    std::unique_ptr<TStringList> FResStrs;
};

// The 134 default lines in their order.
extern const wchar_t* const kDefaultResourceStrings[134];
