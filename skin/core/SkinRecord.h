// TbsDataSkinRecord: the root of the skin's control and object records and of the container's fixed-section
// records. A record names its section (IDName), lists its fields once (EnumFields, see SkinFields.h) and reads and
// writes that section through the list. No windows.h here.
#pragma once

#include <string>

#include "classlib/IniFiles.h"
#include "skin/core/SkinFields.h"

class TbsDataSkinRecord {
  public:
    explicit TbsDataSkinRecord(std::wstring AIDName) : IDName(std::move(AIDName)) {}
    virtual ~TbsDataSkinRecord() = default;
    TbsDataSkinRecord(const TbsDataSkinRecord&) = delete;
    TbsDataSkinRecord& operator=(const TbsDataSkinRecord&) = delete;

    // Every stored field, base classes first, in declaration order.
    virtual void EnumFields(TbsFieldSink&) {}
    // The [SKINCONTROLS]/[SKINOBJECTS] kind word of the class; empty for classes no entry creates.
    virtual const wchar_t* KindWord() const { return L""; }
    // Reads the section named IDName (EConvertError for a malformed rectangle or point).
    virtual void LoadFromFile(TCustomIniFile* IniFile);
    // Erases the section named IDName and writes every field.
    virtual void SaveToFile(TCustomIniFile* IniFile);
    // Every field back to its default.
    void ResetToDefaults();
    TbsFieldList Fields() {
        return [this](TbsFieldSink& s) { EnumFields(s); };
    }

    std::wstring IDName;

  protected:
    // Corrections that follow reading (and precede writing) in some kinds.
    virtual void AfterRead() {}
    virtual void BeforeWrite() {}
};

// Declares the members every record class shares: the constructor (which sets the class's own fields to their
// defaults), the field walk (base first) and the kind word. The class then defines OwnFields.
#define BS_SKIN_RECORD(Class, Base, Kind)                                 \
  public:                                                                 \
    explicit Class(const std::wstring& AIDName) : Base(AIDName) {         \
        ResetFieldList([this](TbsFieldSink& s) { Class::OwnFields(s); }); \
    }                                                                     \
    void EnumFields(TbsFieldSink& s) override {                           \
        Base::EnumFields(s);                                              \
        Class::OwnFields(s);                                              \
    }                                                                     \
    const wchar_t* KindWord() const override {                            \
        return Kind;                                                      \
    }                                                                     \
                                                                          \
  private:                                                                \
    void OwnFields(TbsFieldSink& s);                                      \
                                                                          \
  public:
