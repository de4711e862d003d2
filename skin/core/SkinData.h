// TbsSkinData: the skin container. Holds one loaded skin (pictures, object and control records, form frame geometry,
// the popup-window, layer-frame and hint-window records, the skin colours), loads it from an ini skin file, a
// compressed stored skin or an entry of a compressed skin list, writes it back in every form, and tells every form
// of the program about a change by messages 1225, 1226 and 1227 (wParam the container, lParam 1000).
//
// A change always ends: a load that fails after 1225 clears the skin and still sends 1226 and 1227 before the error
// reaches the caller; a compressed skin of a newer version is refused before 1225. Consumers drop every reference
// into the old skin at 1225. LoadCount() changes at every load and clear, so a consumer may cache a lookup keyed by
// the entry name and that count.
//
// Win32 part: the broadcast, the private-profile file reading and the pictures (class-library bitmaps).
// GUI thread only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "classlib/Component.h"
#include "classlib/Graphics.h"
#include "classlib/IniFiles.h"
#include "skin/core/CompressedSkin.h"
#include "skin/core/ResourceStrings.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/SkinObjects.h"
#include "skin/core/SkinTypes.h"

constexpr UINT WM_BEFORECHANGESKINDATA = 1225;
constexpr UINT WM_CHANGESKINDATA = 1226;
constexpr UINT WM_AFTERCHANGESKINDATA = 1227;
constexpr UINT WM_CHANGERESOURCESTRDATA = 1274;
constexpr UINT WM_CHANGESKINNABLEFORM = 1294;
constexpr UINT WM_CHANGESHOWLAYEREDBORDERS = 1427;
constexpr UINT WM_CHANGEAEROBLURENABLED = 1428;
// lParam of every container message.
constexpr LPARAM kSkinDataMessageParam = 1000;

// A BMP file image as a class-library bitmap (EInvalidGraphic and friends for a broken one).
std::unique_ptr<TBitmap> BitmapFromBytes(const std::string& bytes);
// True when each of VERSION, PICTURES, FORMINFO, SKINOBJECTS and SKINCONTROLS holds at least one key.
bool CheckSkinFile(TCustomIniFile* IniFile);
// Splits "IDName:kind" at the first colon; an entry without a colon gives two empty strings.
void GetObjectTypeName(const std::wstring& Entry, std::wstring& IDName, std::wstring& Kind);

class TbsSkinData : public TComponent {
  public:
    explicit TbsSkinData(TComponent* AOwner);
    ~TbsSkinData() override;

    // ---- Loading and saving -------------------------------------------------------------------------------------
    // An ini skin file (a relative name is taken from the current folder); pictures from its folder. A file that is
    // not a skin changes nothing and sends nothing.
    void LoadFromFile(const std::wstring& FileName);
    // A stored skin without data, or of a newer version, changes nothing and sends nothing.
    void LoadCompressedStoredSkin(TbsCompressedStoredSkin* AStoredSkin);
    void LoadFromCompressedFile(const std::wstring& FileName);
    void SaveToCompressedFile(const std::wstring& FileName);
    // The skin into the ini file FileName (its other sections stay); the file is replaced only after a complete write.
    void SaveToFile(const std::wstring& FileName);
    // SaveToFile, then every picture as a BMP file beside it under its recorded name.
    void StoreToDisk(const std::wstring& AFileName);
    // Every section of the skin, in the writer's order.
    void SaveToCustomIniFile(TCustomIniFile* IniFile);
    // ClearAll and the three change messages.
    void ClearSkin();
    void ClearAll();
    void ClearObjects();

    // ---- Lookups ------------------------------------------------------------------------------------------------
    // The first record whose IDName equals AIDName exactly; -1 when none. Constant time (an index built at load).
    int GetIndex(const std::wstring& AIDName) const;
    int GetControlIndex(const std::wstring& AIDName) const;
    // Bumped at every load and clear.
    std::uint32_t LoadCount() const { return loadCount_; }
    // Active picture Index; EListError "List index out of bounds (%d)" outside the list.
    TBitmap* GetActivePicture(int Index) const;
    int ActivePictureCount() const { return static_cast<int>(FActivePictures.size()); }

    void AddBitMap(const std::wstring& FileName);
    void DeleteBitMap(int Index);
    void SendSkinDataMessage(UINT Msg);
    // Font name of every record with a text font set to ANewFontName and its heights corrected by
    // AFontHeightCorrection; no message.
    void GlobalChangeFont(const std::wstring& ANewFontName, int AFontHeightCorrection);

    // ---- Properties ---------------------------------------------------------------------------------------------
    TbsCompressedSkinList* SkinList() const { return FCompressedSkinList; }
    void SetSkinList(TbsCompressedSkinList* Value);
    int SkinIndex() const { return FCompressedSkinIndex; }
    void SetSkinIndex(int Value);
    TbsCompressedStoredSkin* CompressedStoredSkin() const { return FCompressedStoredSkin; }
    void SetCompressedStoredSkin(TbsCompressedStoredSkin* Value);
    TbsResourceStrData* ResourceStrData() const { return FResourceStrData; }
    void SetResourceStrData(TbsResourceStrData* Value);
    bool SkinnableForm() const { return FSkinnableForm; }
    void SetSkinnableForm(bool Value);
    bool ShowLayeredBorders() const { return FShowLayeredBorders; }
    void SetShowLayeredBorders(bool Value);
    bool AeroBlurEnabled() const { return FAeroBlurEnabled; }
    void SetAeroBlurEnabled(bool Value);
    // The system colour redirection is wanted while ChangeSystemColors() is on and a skin is loaded (not Empty).
    // OnChangeSystemColors (set by the colour hooks) runs whenever that may have changed: at every assignment of the
    // property, after every load and ClearSkin, and when the container goes (with the property already off).
    bool ChangeSystemColors() const { return FChangeSystemColors; }
    void SetChangeSystemColors(bool Value);
    std::function<void(TbsSkinData*)> OnChangeSystemColors;
    TbsSkinColors* SkinColors() { return &FSkinColors; }

    TNotifyEvent OnLoadData;
    bool EnableSkinEffects = true;
    bool ShowButtonGlowFrames = true;
    bool ShowCaptionButtonGlowFrames = true;
    bool AnimationForAllWindows = false;
    bool DlgTreeViewDrawSkin = true;
    std::wstring DlgTreeViewItemSkinDataName = L"listbox";
    bool DlgListViewDrawSkin = true;
    std::wstring DlgListViewItemSkinDataName = L"listbox";
    TbsSystemColorHooks SystemColorHooks = bsschHighLight;
    // While true no window message is sent at all.
    bool FBuilderMode = false;

    // ---- The loaded skin (read by consumers) --------------------------------------------------------------------
    bool Empty = true;
    bool ChangeSkinDataProcess = false;
    std::unique_ptr<TBitmap> FPicture, FInActivePicture, FMask;
    std::vector<std::unique_ptr<TBitmap>> FActivePictures;
    std::wstring FPictureName, FInActivePictureName, FMaskName;
    std::unique_ptr<TStringList> FActivePicturesNames;
    std::vector<std::unique_ptr<TbsDataSkinObject>> ObjectList;
    std::vector<std::unique_ptr<TbsDataSkinControl>> CtrlList;
    TbsDataSkinPopupWindow PopupWindow;
    TbsDataSkinLayerFrame LayerFrame;
    TbsDataSkinHintWindow HintWindow;

    // [FORMINFO]
    TPoint LTPoint, RTPoint, LBPoint, RBPoint;
    TRect ClRect;
    int BGPictureIndex = -1;
    int MDIBGPictureIndex = -1;
    bool LeftStretch = false, RightStretch = false, TopStretch = false, BottomStretch = false, StretchEffect = false;
    TbsStretchType StretchType = bsstFull;
    bool MDIBGStretchEffect = false;
    TbsStretchType MDIBGStretchType = bsstFull;
    TRect MaskRectArea;
    TPoint HitTestLTPoint, HitTestRTPoint, HitTestLBPoint, HitTestRBPoint;
    TRect ButtonsRect, CaptionRect;
    int ButtonsOffset = 0;
    bool CapButtonsInLeft = false;
    bool MainMenuPopupUp = false;
    int BorderW = 0;
    int FormMinWidth = 0, FormMinHeight = 0;
    bool MDITabsTransparent = false, MainMenuBarTransparent = false;
    bool AutoRenderingInActiveImage = false;
    TbsInActiveEffect InActiveEffect = ieBrightness;

    // [VERSION]
    std::wstring SkinName, SkinAuthor, AuthorURL, AuthorEmail, SkinComments;

    // The [FORMINFO] fields up to the hit-test points, and the rest (the corrections run between the two).
    void FormInfoFields1(TbsFieldSink& s);
    void FormInfoFields2(TbsFieldSink& s);
    void VersionFields(TbsFieldSink& s);

  protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void ReadFormInfo(TCustomIniFile* IniFile);
    void WriteFormInfo(TCustomIniFile* IniFile);
    void ReadObjects(TCustomIniFile* IniFile);
    void WriteObjects(TCustomIniFile* IniFile);
    void ReadCtrls(TCustomIniFile* IniFile);
    void WriteCtrls(TCustomIniFile* IniFile);
    void ReadActivePictures(TCustomIniFile* IniFile, const std::wstring& Folder);
    void WriteActivePictures(TCustomIniFile* IniFile);

  private:
    // 1225 and the clearing that starts every load.
    void BeginChange();
    // The end of a load: Empty false, OnLoadData, 1226, 1227.
    void EndChange();
    // The end of a failed load: the skin cleared, 1226 and 1227.
    void AbortChange();
    // The sections after the pictures, in their fixed order.
    void ReadSkinSections(TCustomIniFile* IniFile);
    void ReadVersionAndPictureNames(TCustomIniFile* IniFile);
    void RebuildIndexes();
    void LoadListItem(int Index);

    TbsCompressedSkinList* FCompressedSkinList = nullptr;  // borrowed, cleared by Notification
    int FCompressedSkinIndex = 0;
    TbsCompressedStoredSkin* FCompressedStoredSkin = nullptr;  // borrowed
    TbsResourceStrData* FResourceStrData = nullptr;            // borrowed
    bool FSkinnableForm = true;
    bool FShowLayeredBorders = true;
    bool FAeroBlurEnabled = true;
    bool FChangeSystemColors = false;
    TbsSkinColors FSkinColors;
    std::uint32_t loadCount_ = 0;
    std::unordered_map<std::wstring, int> objectIndex_, controlIndex_;
};
