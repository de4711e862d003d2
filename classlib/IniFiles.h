// Ini files. Index: TCustomIniFile (the interface), TMemIniFile (parsed into memory), TIniFile (the system's
// private-profile functions).
//
// Lookups of sections and keys ignore case. Where a file names a section or a key twice, the first one is the one
// read and written (as the system's functions do); the later ones are kept when the text is written back.
// No windows.h here; TIniFile's system calls live in IniFilesWin.cpp.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "classlib/Classes.h"
#include "classlib/SysUtils.h"

class TCustomIniFile : public TObject {
  public:
    explicit TCustomIniFile(std::wstring fileName) : fileName_(std::move(fileName)) {}
    const std::wstring& FileName() const { return fileName_; }

    virtual std::wstring ReadString(const std::wstring& section,
                                    const std::wstring& ident,
                                    const std::wstring& defaultValue) = 0;
    virtual void WriteString(const std::wstring& section, const std::wstring& ident, const std::wstring& value) = 0;
    // Decimal or hexadecimal ("$..", "0x.."); the default for a missing or malformed value.
    virtual int ReadInteger(const std::wstring& section, const std::wstring& ident, int defaultValue);
    virtual void WriteInteger(const std::wstring& section, const std::wstring& ident, int value);
    // An integer other than 0 is true; written as "1"/"0".
    virtual bool ReadBool(const std::wstring& section, const std::wstring& ident, bool defaultValue);
    virtual void WriteBool(const std::wstring& section, const std::wstring& ident, bool value);
    // FormatSettings.DecimalSeparator; the default for a missing or malformed value.
    virtual double ReadFloat(const std::wstring& section, const std::wstring& ident, double defaultValue);
    virtual void WriteFloat(const std::wstring& section, const std::wstring& ident, double value);

    // Key names of a section, in file order (strings is cleared first).
    virtual void ReadSection(const std::wstring& section, TStrings* strings) = 0;
    // Section names, in file order.
    virtual void ReadSections(TStrings* strings) = 0;
    // "key=value" lines of a section.
    virtual void ReadSectionValues(const std::wstring& section, TStrings* strings) = 0;
    virtual void EraseSection(const std::wstring& section) = 0;
    virtual void DeleteKey(const std::wstring& section, const std::wstring& ident) = 0;
    virtual void UpdateFile() = 0;
    // True when the section holds at least one key.
    virtual bool SectionExists(const std::wstring& section);
    virtual bool ValueExists(const std::wstring& section, const std::wstring& ident);

  protected:
    std::wstring fileName_;
};

// An ini text held in memory; UpdateFile writes it back (through a temporary file, so a failed write leaves the
// old file). Parsing: leading and trailing blanks of every line are ignored; empty lines are dropped; lines
// starting with ';' or '#' are comments, kept in place; "[name]" opens a section (text after the ']' is ignored);
// "key=value" splits at the first '=', both sides trimmed, so values may contain '='; a line without '=' is kept
// but is no key. Lines before the first section are dropped.
class TMemIniFile : public TCustomIniFile {
  public:
    // Reads fileName when it exists (byte-order mark detection as TStrings::LoadFromFile; without a mark the
    // system ANSI code page). An empty name gives an empty ini without a file.
    explicit TMemIniFile(const std::wstring& fileName);
    TMemIniFile(const std::wstring& fileName, TTextEncoding encoding);

    std::wstring ReadString(const std::wstring& section,
                            const std::wstring& ident,
                            const std::wstring& defaultValue) override;
    // The value of a key, or nullptr when the section or the key is missing; valid until the ini changes.
    const std::wstring* FindValue(const std::wstring& section, const std::wstring& ident);
    void WriteString(const std::wstring& section, const std::wstring& ident, const std::wstring& value) override;
    void ReadSection(const std::wstring& section, TStrings* strings) override;
    void ReadSections(TStrings* strings) override;
    void ReadSectionValues(const std::wstring& section, TStrings* strings) override;
    void EraseSection(const std::wstring& section) override;
    void DeleteKey(const std::wstring& section, const std::wstring& ident) override;
    bool ValueExists(const std::wstring& section, const std::wstring& ident) override;
    // Writes the text to FileName in Encoding (nothing without a file name).
    void UpdateFile() override;

    void Clear();
    // The whole text: "[section]", its lines, and an empty line between sections.
    void GetStrings(TStrings* list) const;
    // Replaces the content by the parsed lines of list.
    void SetStrings(const TStrings* list);
    void SetText(const std::wstring& text);
    // Switches to another file; reload reads it (or empties the ini when it does not exist).
    void Rename(const std::wstring& fileName, bool reload);
    TTextEncoding Encoding = TTextEncoding::Ansi;

  private:
    struct Line {
        std::wstring key;    // trimmed; empty for lines that are no key
        std::wstring value;  // trimmed value, or the whole line for non-key lines
        bool isKey = false;
    };
    struct Section {
        std::wstring name;
        std::vector<Line> lines;
        std::unordered_map<std::wstring, size_t> index;  // upper-cased key -> first line with it
        void Reindex();
        const Line* Find(const std::wstring& key) const;
    };
    Section* FindSection(const std::wstring& name);
    Section& AddSection(const std::wstring& name);
    // The key lines of a section into strings (cleared first): "key", or "key=value" with withValues.
    void ListKeys(const std::wstring& section, TStrings* strings, bool withValues);
    void ReindexSections();
    void Load();
    std::vector<std::unique_ptr<Section>> sections_;
    std::unordered_map<std::wstring, size_t> sectionIndex_;  // upper-cased name -> first section with it
    // The last section found and the name it was asked by; cleared whenever sections go or are reindexed.
    std::wstring lastName_;
    Section* lastFound_ = nullptr;
};

// Ini file through GetPrivateProfileStringW / WritePrivateProfileStringW. Every call goes to the file (the system
// may cache writes until UpdateFile). A file name without a folder refers to the Windows folder, as the system
// functions have it. Failed writes raise EIniFileException "Unable to write to <file>".
class TIniFile : public TCustomIniFile {
  public:
    explicit TIniFile(const std::wstring& fileName) : TCustomIniFile(fileName) {}
    ~TIniFile() override;
    std::wstring ReadString(const std::wstring& section,
                            const std::wstring& ident,
                            const std::wstring& defaultValue) override;
    void WriteString(const std::wstring& section, const std::wstring& ident, const std::wstring& value) override;
    void ReadSection(const std::wstring& section, TStrings* strings) override;
    void ReadSections(TStrings* strings) override;
    void ReadSectionValues(const std::wstring& section, TStrings* strings) override;
    void EraseSection(const std::wstring& section) override;
    void DeleteKey(const std::wstring& section, const std::wstring& ident) override;
    void UpdateFile() override;
};
