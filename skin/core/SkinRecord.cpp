// TbsDataSkinRecord (see SkinRecord.h).
#include "skin/core/SkinRecord.h"

void TbsDataSkinRecord::LoadFromFile(TCustomIniFile* IniFile) {
    ReadFieldList(Fields(), IniFile, IDName);
    AfterRead();
}

void TbsDataSkinRecord::SaveToFile(TCustomIniFile* IniFile) {
    BeforeWrite();
    IniFile->EraseSection(IDName);
    WriteFieldList(Fields(), IniFile, IDName);
}

void TbsDataSkinRecord::ResetToDefaults() {
    ResetFieldList(Fields());
}
