#include "app/form_kelmar.h"

#include <commdlg.h>
#include <shellapi.h>
#include <uxtheme.h>

#include <algorithm>
#include <cwchar>
#include <set>

#include "app/folder_chooser.h"
#include "app/icon_source.h"
#include "app/original_icon.h"
#include "app/save_report.h"
#include "framework/application.h"
#include "framework/wide.h"
#include "skin/data/effect_bmp_win32.h"
#include "app/res/resource_ids.h"
#include "app/version.h"
#include "base/display_scale.h"
#include "framework/system_library.h"

namespace kelmar {

TFormKelmar* FormKelmar = nullptr;

const wchar_t kFormCaption[] = L"Kelmar V$V$(文件图标提取器)";
const wchar_t kHomePage[] = L"https://kelmar.app/";
const wchar_t kContactMail[] = L"support@kelmar.app";
const wchar_t kUpdatePage[] = L"https://kelmar.app/update/";

namespace {

const wchar_t kSaveFolderSetting[] = L"SaveFolder";

const wchar_t kStatusText[] = L"支持文件拖放，您可以把文件拖入本程序进行图标提取！";

// The open dialog's file types: the files icons come from, then all files.
const std::vector<TPlatformServices::TFileFilter>& OpenDialogFilter() {
  static const std::vector<TPlatformServices::TFileFilter> filter{
      {L"图标来源 (*.exe;*.dll;*.ocx;*.mun;*.icl;*.cpl;*.scr;*.ico;*.cur)",
       L"*.exe;*.dll;*.ocx;*.mun;*.icl;*.cpl;*.scr;*.ico;*.cur"},
      {L"所有文件 (*.*)", L"*.*"}};
  return filter;
}

// An existing file (a folder does not count).
bool IsFile(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

// The tool pictures as drawn: 18 pixels square at 100 %, 27 and 36 at 150 and
// 200 %.
struct TGlyphSet {
  int size, id_offset;
};
constexpr TGlyphSet kGlyphSets[] = {{18, 0}, {27, IDB_GLYPHS_27}, {36, IDB_GLYPHS_36}};

int GlyphSize(int dpi) { return ScaleLength(kGlyphSets[0].size, dpi); }

void LoadGlyph(TksSkinButton* button, int id, int dpi) {
  // The set drawn at the size, else the nearest larger one scaled down
  // (the largest beyond 200 %).
  const int size = GlyphSize(dpi);
  const TGlyphSet* set = &kGlyphSets[std::size(kGlyphSets) - 1];
  for (const TGlyphSet& s : kGlyphSets)
    if (s.size >= size) {
      set = &s;
      break;
    }
  // The pixels as stored: the bottom-left one is the transparent colour, and
  // no colour mapping may change it.
  BitmapHandle bitmap(static_cast<HBITMAP>(LoadImageW(
      GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id + set->id_offset), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (set->size == size || !bitmap) {
    button->SetGlyph(bitmap.Get());
    return;
  }
  // Opaque for the area filter, which weighs colours by alpha; the buttons
  // take the bottom-left colour out, and the grey around the pictures
  // keeps it exactly.
  Image drawn = EffectBmpFromBitmap(bitmap.Get()).GetImage();
  for (int y = 0; y < drawn.Height(); ++y)
    for (int x = 0; x < drawn.Width(); ++x) drawn.View().At(x, y) |= 0xFF000000u;
  button->SetGlyph(Downscale(drawn, size, size));
}

namespace {

template <typename T>
T* Place(T* control, TWinControl* parent, int left, int top, int width, int height) {
  control->SetBounds(left, top, width, height);
  control->SetParent(parent);
  return control;
}

TksSkinButton* ToolButton(TFormKelmar* form, const char* name, TWinControl* parent, int left, int width,
                          int glyph, const wchar_t* hint) {
  auto* b = new TksSkinButton(form, name);
  LoadGlyph(b, glyph, form->Dpi());
  form->ToolGlyphs.push_back({b, glyph});
  b->SetHint(hint);
  // Screen readers say the hint without its key, which they read from the
  // description.
  const std::wstring text = hint;
  b->AccessibleName = text.substr(0, text.find(L" ("));
  b->SetSkinData(form->ksSkinData1);
  return Place(b, parent, left, 8, width, 25);
}

TksSkinCheckRadioBox* SizeBox(TFormKelmar* form, const char* name, TWinControl* parent, int left,
                              const wchar_t* caption, const wchar_t* hint) {
  auto* box = new TksSkinCheckRadioBox(form, name);
  box->SetSkinDataName("radiobox");
  box->SetRadio(true);
  box->SetGroupIndex(1);
  box->SetTabStop(true);
  box->SetCaption(caption);
  box->SetHint(hint);
  box->AccessibleName = std::wstring(hint) + L" " + caption;
  box->GroupName = L"图标大小";
  box->SetSkinData(form->ksSkinData1);
  return Place(box, parent, left, 8, 65, 25);
}

// The links' own colours, for a skin that gives none.
constexpr TColor kLinkColour = RGB(60, 60, 120), kVisitedLinkColour = RGB(130, 95, 70);

void SetLinkLook(TURLLabel* label) {
  label->Font() = TFont(L"Verdana", 11, kLinkColour);
  TFontStyles underline;
  underline.underline = true;
  label->Font().SetStyle(underline);
  label->SetUnvisitedColor(kLinkColour);
  label->SetVisitedColor(kVisitedLinkColour);
  label->BlinkColor = clBlue;
  label->BevelWidth = 0;
  label->SetColor(clPurple);
  label->SetTransparent(true);
}

}  // namespace

TFormKelmar::TFormKelmar(TComponent* owner, TPlatformServices* services)
    : TForm(owner, "FormKelmar"), services_(services ? services : &DefaultPlatformServices()) {
  FormKelmar = this;
  SetCaption(kFormCaption);
  SetPosition(TPosition::poDesktopCenter);
  SetFormStyle(TFormStyle::fsStayOnTop);
  SetShowHint(true);
  SetColor(GetSysColor(COLOR_BTNFACE));
  Font() = TFont(L"Arial", 11);
  SetBounds(0, 0, 667, 363);
  // Built hidden and shown once whole, placed and with its caption (see
  // Loaded): a window shown from its creation on is activated, framed and
  // painted again at every step of the building.
  SetVisible(false);
  CreateHandle();
  // Made for the window's own DPI from the start: the frame and the skin
  // are made once, at that DPI, and the controls below, laid out in 96-DPI
  // numbers, are made for it as they join the form.
  const int dpi = int(services_->WindowDpi(Handle()));
  TForm::ScaleTo(dpi);

  // The skin loads here, before the controls that draw from it.
  ksCompressedStoredSkin1 = new TksCompressedStoredSkinComponent(this, "ksCompressedStoredSkin1");
  own_skin_ = services_->AppsUseDarkTheme() ? TOwnSkin::Dark : TOwnSkin::Light;
  ksCompressedStoredSkin1->CompressedData() = EmbeddedSkinPackage(own_skin_);
  ksSkinData1 = new TksSkinDataComponent(this, "ksSkinData1");
  // The same skin drawn at 150 and 200 %: its pictures at those scales (and
  // scaled down from the nearest larger between them).
  for (TEmbeddedDrawing& embedded : EmbeddedSkinDrawings(own_skin_)) {
    auto* drawing = new TksCompressedStoredSkinComponent(this, "ksSkinDrawing" + std::to_string(skinDrawings_.size() + 1));
    drawing->CompressedData() = std::move(embedded.package);
    skinDrawings_.push_back(drawing);
    skinDrawingDpis_.push_back(embedded.dpi);
  }
  ksSkinData1->Skin().SetDrawings({skinDrawings_.begin(), skinDrawings_.end()}, skinDrawingDpis_);
  ksSkinData1->Skin().SetDpi(dpi);
  ksSkinData1->SetCompressedStoredSkin(ksCompressedStoredSkin1);
  ksSkinForm1 = new TksSkinForm(this, "ksSkinForm1");
  ksSkinForm1->SetShowIcon(true);
  ksSkinForm1->UseDefaultSysMenu = false;
  // The frame's system menu: empty, so the frame shows its built-in one.
  PopupMenu1 = new TPopupMenu(this, "PopupMenu1");
  ksSkinForm1->SetSystemMenu(PopupMenu1);
  ksSkinForm1->SetMenusSkinData(ksSkinData1);
  ksSkinForm1->SetSkinData(ksSkinData1);
  ksSkinHint1 = new TksSkinHint(this, "ksSkinHint1");
  ksSkinHint1->SetSkinData(ksSkinData1);
  ksSkinHint1->DefaultFont() = TFont(L"MS Sans Serif", 11);
  ksSkinForm1->SetSkinHint(ksSkinHint1);
  // The caption buttons' hints, in the skin's hint window as the tool
  // buttons' are.
  ksSkinForm1->ShowObjectHint = true;
  ksSkinForm1->UseDefaultObjectHint = true;
  // The designed client size, within what the skinned frame allows.
  SetClientSize(Scaled(667), Scaled(363));

  AppStatusBar = new TksSkinStatusBar(this, "AppStatusBar");
  AppStatusBar->SetBounds(0, 342, 667, 21);
  AppStatusBar->SetParent(this);
  ksSkinStatusPanel1 = new TksSkinStatusPanel(this, "ksSkinStatusPanel1");
  ksSkinStatusPanel1->SetAlign(TAlign::alClient);
  ksSkinStatusPanel1->SetCaption(kStatusText);
  ksSkinStatusPanel1->SetHint(kStatusText);
  ksSkinStatusPanel1->SetParent(AppStatusBar);
  // The status bar hands its skin on to the panel in it.
  AppStatusBar->SetSkinData(ksSkinData1);

  ksSkinPanel1 = new TksSkinPanel(this, "ksSkinPanel1");
  ksSkinPanel1->SetBounds(0, 0, 667, 41);
  ksSkinPanel1->SetAlign(TAlign::alTop);
  ksSkinPanel1->SetSkinData(ksSkinData1);
  ksSkinPanel1->AccessibleName = L"工具栏";
  ksSkinPanel1->AccessibleRole = ROLE_SYSTEM_TOOLBAR;
  ksSkinPanel1->SetParent(this);

  BTNSelFile = ToolButton(this, "BTNSelFile", ksSkinPanel1, 8, 41, IDB_SELFILE, L"选择要提取的文件 (Ctrl+O)");
  RB16 = SizeBox(this, "RB16", ksSkinPanel1, 56, L"16×16", L"小图标");
  RB32 = SizeBox(this, "RB32", ksSkinPanel1, 124, L"32×32", L"大图标");
  RB32->SetChecked(true);
  BTNSave = ToolButton(this, "BTNSave", ksSkinPanel1, 192, 29, IDB_SAVE, L"保存当前选中图标 (Ctrl+S)");
  BTNSaveAll = ToolButton(this, "BTNSaveAll", ksSkinPanel1, 224, 29, IDB_SAVEALL, L"保存全部图标 (Ctrl+Shift+S)");
  CombPicType = new TksSkinComboBox(this, "CombPicType");
  CombPicType->SetItems({L"图标", L"图片", L"原图", L"PNG图片"});
  CombPicType->SetItemIndex(0);
  CombPicType->SetHint(L"保存文件类型(图标ico/图片bmp/原图ico/PNG图片png)");
  CombPicType->AccessibleName = L"保存文件类型";
  CombPicType->SetSkinData(ksSkinData1);
  Place(CombPicType, ksSkinPanel1, 257, 10, 78, 20);
  CombPngSize = new TksSkinComboBox(this, "CombPngSize");
  CombPngSize->SetItems({L"最大", L"256", L"128", L"64", L"48", L"32", L"16", L"全部尺寸"});
  CombPngSize->SetItemIndex(0);
  CombPngSize->SetHint(L"PNG图片的尺寸(最大/固定尺寸/全部尺寸各存一个文件)");
  CombPngSize->AccessibleName = L"PNG图片尺寸";
  CombPngSize->SetSkinData(ksSkinData1);
  Place(CombPngSize, ksSkinPanel1, 339, 10, 78, 20);
  // The size is a choice of PNG pictures only.
  CombPngSize->SetEnabled(false);
  CombPicType->OnChange = [this] { CombPngSize->SetEnabled(ChosenOutputType() == TOutputType::otPng); };
  BTNHelp = ToolButton(this, "BTNHelp", ksSkinPanel1, 421, 33, IDB_HELP, L"帮助 (F1)");
  BtnUpdate = ToolButton(this, "BtnUpdate", ksSkinPanel1, 458, 33, IDB_UPDATE, L"升级");

  Label5 = new TLabel(this, "Label5");
  Label5->SetAlignment(TAlignment::taRightJustify);
  Label5->SetTransparent(true);
  Label5->SetBounds(526, 7, 0, 13);
  Label5->SetCaption(L"主页:");
  Label5->SetParent(ksSkinPanel1);
  URLLabel4 = new TURLLabel(this, "URLLabel4", services_);
  SetLinkLook(URLLabel4);
  URLLabel4->SetCaption(kHomePage);
  URLLabel4->SetHint(kHomePage);
  URLLabel4->SetURL(kHomePage);
  Place(URLLabel4, ksSkinPanel1, 534, 6, 129, 13);
  Label6 = new TLabel(this, "Label6");
  Label6->SetAlignment(TAlignment::taRightJustify);
  Label6->SetTransparent(true);
  Label6->SetBounds(527, 23, 0, 13);
  Label6->SetCaption(L"邮箱:");
  Label6->SetParent(ksSkinPanel1);
  URLLabel1 = new TURLLabel(this, "URLLabel1", services_);
  SetLinkLook(URLLabel1);
  URLLabel1->SetCaption(kContactMail);
  URLLabel1->SetURL(std::wstring(L"mailto:") + kContactMail);
  Place(URLLabel1, ksSkinPanel1, 534, 22, 119, 13);

  Image2 = new TImage(this, "Image2");
  Image2->SetVisible(false);
  Place(Image2, ksSkinPanel1, 328, 0, 25, 17);

  LargeImage = LargeOutput = new TImageList(this, "LargeImage", 32, 32);
  SmallImage = SmallOutput = new TImageList(this, "SmallImage", 16, 16);
  ListView1 = new TListView(this, "ListView1");
  ListView1->SetColor(RGB(255, 255, 255));
  ListView1->SetMultiSelect(true);
  ListView1->SetHideSelection(false);
  ListView1->SetPathLabels(true);
  ListView1->Font() = TFont(L"MS Sans Serif", 11);
  ListView1->SetHint(kStatusText);
  ListView1->SetLargeImages(LargeImage);
  ListView1->SetSmallImages(SmallImage);
  ListView1->SetStateImages(SmallImage);
  ListView1->SetViewStyle(TViewStyle::vsIcon);
  ListView1->SetAlign(TAlign::alClient);
  ListView1->SetParent(this);
  ListView1->OnSelectItem = [this] { ShowListStatus(false); };
  ListView1->OnItemHint = [this](int item) { return ItemHint(item); };
  // On an item: a double click saves it (the click selected it), a right
  // click offers both save commands.
  ItemMenu = new TksSkinPopupMenu(this, "ItemMenu");
  ItemMenu->SetSkinData(ksSkinData1);
  ItemMenu->Items()->Add(new TMenuItem("ItemSave", L"保存(&S)"))->OnClick = [this] { BTNSaveClick(); };
  ItemMenu->Items()->Add(new TMenuItem("ItemSaveAll", L"全部保存(&A)"))->OnClick = [this] { BTNSaveAllClick(); };
  ListView1->OnItemDblClick = [this](int) { BTNSaveClick(); };
  ListView1->OnItemContextMenu = [this](int, Point screen) { ItemMenu->Popup(screen.x, screen.y); };

  BTNSelFile->OnClick = [this] { BTNSelFileClick(); };
  BTNSave->OnClick = [this] { BTNSaveClick(); };
  BTNSaveAll->OnClick = [this] { BTNSaveAllClick(); };
  RB16->OnClick = [this] { RB32Click(); };
  RB32->OnClick = [this] { RB32Click(); };
  BTNHelp->OnClick = [this] { BTNHelpClick(); };
  BtnUpdate->OnClick = [this] { BtnUpdateClick(); };

  // The shown icons at the window's scale (everything else is made for it).
  ScaleImageLists(dpi);

  ApplyClientColours();
  OnShortCut = [this](WORD key, TShiftState shift) { return ShortCut(key, shift); };
  OnCreate = [this] { FormCreate(); };
  OnClose = [this](TCloseAction& action) { FormClose(action); };
}

void TFormKelmar::Loaded() {
  TForm::Loaded();
  SetVisible(true);
}

TFormKelmar::~TFormKelmar() {
  if (FormKelmar == this) FormKelmar = nullptr;
}

void TFormKelmar::FormCreate() {
  services_->AcceptDroppedFiles(Handle(), true);
  SmallIcons = false;
  UpdatePage = kUpdatePage;
  MsgCaption = L"消息框";
  MsgTooMany = L"由于图标数量太多，请先保存已解出的图标。";
  MsgChooseFolder = L"请选择保存路径:";
  MsgNoIcons = L"请解出图标!";
  MsgFilesSaved = L"个文件被保存";
  MsgSavePath = L"保存路径: ";
  MsgNameFormat = L"文件名格式: ";
  SetCaption(SubstituteVersion(Caption(), L"3.0"));
  // The folder the last save went to, in whichever run that was.
  SaveFolder = services_->ReadSetting(kSaveFolderSetting);
}

void TFormKelmar::FormClose(TCloseAction& action) {
  services_->AcceptDroppedFiles(Handle(), false);
  action = TCloseAction::caFree;
}

class TFormKelmar::TBusyScope {
 public:
  explicit TBusyScope(TFormKelmar& form) : form_(form) { ++form_.busy_; }
  ~TBusyScope() { --form_.busy_; }
  TBusyScope(const TBusyScope&) = delete;
  TBusyScope& operator=(const TBusyScope&) = delete;

 private:
  TFormKelmar& form_;
};

bool TFormKelmar::MayStartCommand() const {
  if (busy_ == 0) return true;
  MessageBeep(MB_ICONWARNING);
  return false;
}

void TFormKelmar::WndProc(TMessage& m) {
  if (m.Msg == WM_DROPFILES) {
    WMDropFiles(reinterpret_cast<HDROP>(m.WParam));
    return;
  }
  if (m.Msg == WM_DPICHANGED) {
    // The items in rows for the window's new size, from the item shown
    // first before on.
    const int first_shown = ListView1->FirstShownItem();
    TForm::WndProc(m);
    ListView1->Arrange();
    if (first_shown > 0) ListView1->ScrollToTop(first_shown);
    return;
  }
  // Windows tells its top-level windows of a change of the applications'
  // light or dark look by this name.
  if (m.Msg == WM_SETTINGCHANGE && m.LParam &&
      std::wcscmp(reinterpret_cast<const wchar_t*>(m.LParam), L"ImmersiveColorSet") == 0) {
    TForm::WndProc(m);
    FollowSystemColours();
    return;
  }
  TForm::WndProc(m);
  if (m.Msg == SKIN_MSG_AFTER_CHANGE && ksSkinData1 && ksSkinData1->IsSender(m.WParam)) ApplyClientColours();
}

void TFormKelmar::FollowSystemColours() {
  const TOwnSkin wanted = services_->AppsUseDarkTheme() ? TOwnSkin::Dark : TOwnSkin::Light;
  if (wanted == own_skin_) return;
  own_skin_ = wanted;
  ksCompressedStoredSkin1->CompressedData() = EmbeddedSkinPackage(wanted);
  // The other skin's drawings for the larger scales, in the same order.
  std::vector<TEmbeddedDrawing> drawings = EmbeddedSkinDrawings(wanted);
  for (size_t i = 0; i < skinDrawings_.size(); ++i) {
    const bool given = i < drawings.size();
    skinDrawings_[i]->CompressedData() = given ? std::move(drawings[i].package) : std::vector<uint8_t>{};
    skinDrawingDpis_[i] = given ? drawings[i].dpi : 0;  // none: never chosen
  }
  ksSkinData1->Skin().SetDrawings({skinDrawings_.begin(), skinDrawings_.end()}, skinDrawingDpis_);
  ksSkinData1->Skin().LoadCompressedSkin(*ksCompressedStoredSkin1);
  // Every piece in the new colours in one round, frame and children
  // included, before anything else is handled.
  RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void TFormKelmar::ApplyClientColours() {
  if (!ListView1) return;
  const TksDataSkinClientColors& c = ksSkinData1->Skin().ClientColors;
  const bool given = !ksSkinData1->Skin().Empty && c.Present;
  ListView1->SetColors(given ? c.listcolor : RGB(255, 255, 255), given ? c.listfontcolor : RGB(0, 0, 0),
                       given && c.listedgecolor != c.kNoColor ? c.listedgecolor : TListView::kSystemEdge);
  for (TLabel* label : {Label5, Label6}) label->Font().SetColor(given ? c.labelfontcolor : RGB(0, 0, 0));
  for (TURLLabel* link : {URLLabel4, URLLabel1}) {
    link->SetUnvisitedColor(given ? c.linkfontcolor : kLinkColour);
    link->SetVisitedColor(given ? c.visitedlinkfontcolor : kVisitedLinkColour);
  }
  // The list's scroll bars are the system's: Windows 10 1809 and later draw
  // them dark in this theme of theirs (elsewhere the call changes nothing).
  // The light skin leaves the list's theme as it was made.
  const bool dark = own_skin_ == TOwnSkin::Dark;
  if (dark || list_theme_dark_) late::SetWindowTheme(ListView1->Handle(), dark ? L"DarkMode_Explorer" : nullptr, nullptr);
  list_theme_dark_ = dark;
}

namespace {

// The path in a list item's caption ("3:C:\\Tools\\app.exe").
std::wstring CaptionPath(const std::wstring& caption) { return caption.substr(caption.find(L':') + 1); }

}  // namespace

void TFormKelmar::ShowListStatus(bool recount) {
  const int icons = ListView1->Count();
  if (recount) {
    std::set<std::wstring> files;
    for (int i = 0; i < icons; ++i) {
      std::wstring path = CaptionPath(ListView1->ItemCaption(i));
      CharUpperBuffW(path.data(), DWORD(path.size()));
      files.insert(std::move(path));
    }
    batch_files_ = int(files.size());
  }
  std::wstring text = kStatusText;
  if (icons > 0) {
    text = L"共 " + std::to_wstring(icons) + L" 个图标，来自 " + std::to_wstring(batch_files_) + L" 个文件";
    if (int selected = ListView1->SelectedCount(); selected > 0)
      text += L"，已选中 " + std::to_wstring(selected) + L" 个";
  }
  if (text != ksSkinStatusPanel1->Caption()) ksSkinStatusPanel1->SetCaption(text);
}

std::wstring TFormKelmar::ItemHint(int item) const {
  if (item < 0 || size_t(item) >= items_.size()) return {};
  std::wstring hint = items_[size_t(item)].path + L"\r\n文件中的索引: " + std::to_wstring(items_[size_t(item)].fileIndex);
  if (const std::wstring& images = item_summaries_[size_t(item)]; !images.empty()) hint += L"\r\n" + images;
  return hint;
}

bool TFormKelmar::ShortCut(WORD key, TShiftState shift) {
  // While busy the keys are the dialog's own (Ctrl+A in the chooser's path box).
  if (shift.alt || busy_) return false;
  if (key == VK_F1 && !shift.ctrl && !shift.shift) {
    BTNHelpClick();
    return true;
  }
  if (!shift.ctrl) return false;
  switch (key) {
    case 'O':
      if (shift.shift) return false;
      BTNSelFileClick();
      return true;
    case 'S':
      shift.shift ? BTNSaveAllClick() : BTNSaveClick();
      return true;
    case 'A':
      if (shift.shift) return false;
      ListView1->SelectAll();
      return true;
  }
  return false;
}

// ------------------------------------------------------------------ intake

void TFormKelmar::ClearItems() {
  ListView1->Clear();
  items_.clear();
  item_summaries_.clear();
}

void TFormKelmar::ClearBatch() {
  ClearItems();
  ClearImages();
  IconCounter = 0;
}

void TFormKelmar::ClearImages() {
  for (TImageList* list : {SmallImage, LargeImage, SmallOutput, LargeOutput}) list->Clear();
}

void TFormKelmar::BTNSelFileClick() {
  if (!MayStartCommand()) return;
  TBusyScope busy(*this);
  // The dialog itself refuses a name that does not exist (a typo would
  // otherwise clear the batch for a shell icon of nothing).
  auto files = services_->OpenFiles(Handle(), L"选择要提取图标的文件", OpenDialogFilter(),
                                    OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT | OFN_ENABLESIZING | OFN_EXPLORER |
                                        OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST);
  if (!files) return;
  TakeIn(*files);
  ShowListStatus(true);
}

void TFormKelmar::WMDropFiles(HDROP drop) {
  // The drop's memory is ours to free, whatever happens below.
  struct DropOwner {
    HDROP drop;
    ~DropOwner() { late::DragFinish(drop); }
  } owner{drop};
  UINT count = services_->QueryDroppedFile(drop, 0xFFFFFFFF, nullptr, 0);
  std::vector<std::wstring> files;
  for (UINT i = 0; i < count; ++i) {
    // The whole path, whatever its length.
    UINT length = services_->QueryDroppedFile(drop, i, nullptr, 0);
    std::wstring path(length + 1, L'\0');
    path.resize(services_->QueryDroppedFile(drop, i, path.data(), length + 1));
    files.push_back(std::move(path));
  }
  TakeInGivenFiles(files);
}

void TFormKelmar::TakeInGivenFiles(const std::vector<std::wstring>& paths) {
  if (!MayStartCommand()) return;
  TBusyScope busy(*this);
  std::vector<std::wstring> files;
  for (const std::wstring& path : paths)
    if (IsFile(LongPath(path))) files.push_back(path);
  // Folders or vanished names alone leave the list as it is.
  if (!files.empty()) {
    TakeIn(files);
    ShowListStatus(true);
  }
}

void TFormKelmar::TakeIn(const std::vector<std::wstring>& paths) {
  ClearBatch();
  // No repaint until the batch is in (the limit repaints at once).
  TListView::UpdateScope no_redraw(*ListView1);
  FileIcons::ReadScope one_buffer;
  for (const auto& path : paths) {
    FileIcons icons = FileIcons::Read(path);
    if (!ExtractFileIcons(path, icons.Count(), icons)) return;
  }
}

void TFormKelmar::ExtractFileIcons(const std::wstring& path, int count) {
  ExtractFileIcons(path, count, FileIcons::Read(path));
}

bool TFormKelmar::ExtractFileIcons(const std::wstring& path, int count, const FileIcons& icons) {
  // No repaint per item (the intake around it usually holds the list already).
  TListView::UpdateScope no_redraw(*ListView1);
  // The images go into the lists in slices: one drawing pass per slice, and
  // a bounded number of icons waiting at once.
  constexpr size_t kSlice = 64;
  const int display_bits = DisplayBits();
  const bool own_output = LargeOutput != LargeImage;
  const auto origin = std::make_shared<const FileOrigin>(icons.Origin());
  for (int i = 0; i < count; ++i) {
    if (IconCounter >= 1000 && !StartNewBatch()) return false;
    ++IconCounter;
    TTakenIcon taken = TakeIcon(icons, path, i, IconCounter, origin, LargeImage->Width(), SmallImage->Width(),
                                SmallIcons, display_bits);
    TPendingIcon pending;
    pending.large = std::move(taken.large);
    pending.small = std::move(taken.small);
    if (own_output && taken.shown) {
      pending.output_large = ExtractGroupIcon(*taken.shown, LargeOutput->Width(), display_bits);
      pending.output_small = OwnGroupIcon(*taken.shown, SmallOutput->Width(), display_bits);
    }
    pending_icons_.push_back(std::move(pending));
    item_summaries_.push_back(taken.shown ? Wide(GroupImageSummary(*taken.shown)) : std::wstring());
    items_.push_back(std::move(taken.item));
    ListView1->AddItem(std::to_wstring(IconCounter) + L":" + path, IconCounter - 1);
    if (pending_icons_.size() == kSlice) AddPendingIcons();
  }
  AddPendingIcons();
  return true;
}

TFormKelmar::TPendingIcon TFormKelmar::ShownIcon(const IconGroup* shown, const std::wstring& path,
                                                 int display_bits) const {
  TPendingIcon icon;
  if (shown) icon.large = ExtractGroupIcon(*shown, LargeImage->Width(), display_bits);
  // No image to show: the shell's icon (the list scales it to its size).
  if (!icon.large) {
    icon.large.handle = GetShellIcon(path, SmallIcons);
    icon.shell = true;
    return icon;
  }
  // The small list shows the group's own small artwork where it has one.
  icon.small = OwnGroupIcon(*shown, SmallImage->Width(), display_bits);
  return icon;
}

void TFormKelmar::ScaleTo(int dpi) {
  TForm::ScaleTo(dpi);
  ksSkinForm1->ScaleChanged();
  for (const auto& [button, id] : ToolGlyphs) LoadGlyph(button, id, dpi);
  ScaleImageLists(dpi);
}

void TFormKelmar::ScaleImageLists(int dpi) {
  const int large = ScaleLength(32, dpi), small = ScaleLength(16, dpi);
  if (LargeImage->Width() == large && SmallImage->Width() == small) return;
  TImageList* const old_large = LargeImage;
  TImageList* const old_small = SmallImage;

  // The output lists are always 32 and 16; at 96 DPI they are the shown ones.
  if (large == LargeOutput->Width() && small == SmallOutput->Width()) {
    LargeImage = LargeOutput;
    SmallImage = SmallOutput;
  } else {
    LargeImage = new TImageList(this, "LargeImage", large, large);
    SmallImage = new TImageList(this, "SmallImage", small, small);
    ReloadShownImages(*old_large);
  }
  ListView1->SetLargeImages(LargeImage);
  ListView1->SetSmallImages(SmallImage);
  ListView1->SetStateImages(SmallImage);
  if (old_large != LargeOutput) delete old_large;
  if (old_small != SmallOutput) delete old_small;
}

void TFormKelmar::ReloadShownImages(const TImageList& before) {
  // Each item's images as the intake made them, read again from its file
  // where it is still what it was; else the picture shown before, scaled.
  const int display_bits = DisplayBits();
  OriginalIcons originals;
  for (int i = 0; i < ListView1->Count(); ++i) {
    const TSaveItem& item = items_[size_t(i)];
    const std::wstring& path = item.path;
    TPendingIcon icon;
    if (item.sizes.empty()) {
      icon = ShownIcon(nullptr, path, display_bits);
    } else {
      std::optional<IconGroup> group;
      try {
        group = originals.Images(path, *item.origin, item.group.get(), item.fileIndex);
      } catch (const std::exception&) {
        // Unreadable now: the picture shown before stands in.
      }
      if (group) icon = ShownIcon(&*group, path, display_bits);
      if (!group || icon.shell) {
        icon = {};
        icon.large.handle = before.GetIcon(i);
      }
    }
    pending_icons_.push_back(std::move(icon));
  }
  // Only the shown lists take them.
  TImageList* const outputs[] = {LargeOutput, SmallOutput};
  LargeOutput = LargeImage;
  SmallOutput = SmallImage;
  AddPendingIcons();
  LargeOutput = outputs[0];
  SmallOutput = outputs[1];
}

bool TFormKelmar::StartNewBatch() {
  // The images of the full batch go in first: the save writes them, and the
  // user sees the full list while deciding.
  AddPendingIcons();
  ListView1->RepaintNow();
  ShowListStatus(true);
  if (services_->ShowMessageBox(Handle(), MsgTooMany, MsgCaption, MB_OKCANCEL | MB_ICONINFORMATION) != IDOK)
    return false;
  // The whole batch, whatever the last save command chose; only a batch
  // that is wholly in the folder is let go of.
  if (!SaveIcons(ChosenOutputType(), true)) return false;
  IconCounter = 0;
  ClearItems();
  ListView1->RepaintNow();
  ClearImages();
  return true;
}

std::shared_ptr<const IconGroup> TFormKelmar::ItemIconGroup(int index) const {
  return index >= 0 && size_t(index) < items_.size() ? items_[size_t(index)].group : nullptr;
}

void TFormKelmar::AddPendingIcons() {
  // Both lists take copies; the icons are let go of here. A blank image
  // stands where a list refuses one, so that items and images stay in step.
  std::vector<TIconImage> small, large, output_small, output_large;
  for (const auto& icon : pending_icons_) {
    large.push_back(ListImage(icon.large));
    small.push_back(ListImage(icon.small ? icon.small : icon.large));
    // A shell icon has one picture for every size.
    const ExtractedIcon& output = icon.output_large ? icon.output_large : icon.large;
    output_large.push_back(ListImage(output));
    output_small.push_back(ListImage(icon.output_small ? icon.output_small : output));
  }
  SmallImage->AddIcons(small);
  LargeImage->AddIcons(large);
  if (LargeOutput != LargeImage) {
    SmallOutput->AddIcons(output_small);
    LargeOutput->AddIcons(output_large);
  }
  pending_icons_.clear();
}

// ------------------------------------------------------------------ saving

void TFormKelmar::BTNSaveClick() {
  if (!MayStartCommand()) return;
  TBusyScope busy(*this);
  SaveAll = false;
  if (LargeImage->Count() == 0 && SmallImage->Count() == 0) {
    services_->ShowMessageBox(Handle(), MsgNoIcons, MsgCaption, MB_OK | MB_ICONINFORMATION);
    return;
  }
  // Nothing selected: the item with the focus mark, else the first one.
  if (ListView1->SelectedCount() == 0) ListView1->SetSelected(std::max(ListView1->FocusedIndex(), 0), true);
  SaveIcons(ChosenOutputType(), false);
}

void TFormKelmar::BTNSaveAllClick() {
  if (!MayStartCommand()) return;
  TBusyScope busy(*this);
  SaveAll = true;
  if (LargeImage->Count() == 0 && SmallImage->Count() == 0) {
    services_->ShowMessageBox(Handle(), MsgNoIcons, MsgCaption, MB_OK | MB_ICONINFORMATION);
    return;
  }
  SaveIcons(ChosenOutputType(), true);
}

void TFormKelmar::SaveIconsAsIco() { SaveIcons(TOutputType::otIcon, SaveAll); }
void TFormKelmar::SaveIconsAsBmp() { SaveIcons(TOutputType::otBitmap, SaveAll); }

TOutputType TFormKelmar::ChosenOutputType() const {
  switch (CombPicType->ItemIndex()) {
    case 0:
      return TOutputType::otIcon;
    case 2:
      return TOutputType::otOriginal;
    case 3:
      return TOutputType::otPng;
    default:
      return TOutputType::otBitmap;
  }
}

PngSizeChoice TFormKelmar::ChosenPngSize() const {
  static constexpr int kFixed[] = {256, 128, 64, 48, 32, 16};
  const int index = CombPngSize->ItemIndex();
  if (index >= 1 && index <= 6) return {PngSizeChoice::kFixed, kFixed[index - 1]};
  return {index == 7 ? PngSizeChoice::kEvery : PngSizeChoice::kLargest};
}

bool TFormKelmar::SaveIcons(TOutputType type, bool all) {
  TBusyScope busy(*this);
  // A cancelled chooser cancels the save.
  if (!SelectSaveFolder(*services_, Handle(), MsgChooseFolder, L"", SaveFolder) || SaveFolder.empty()) return false;
  // The chooser opens here in the next run as well.
  services_->WriteSetting(kSaveFolderSetting, SaveFolder);
  if (SaveFolder.back() == L'\\') SaveFolder.pop_back();

  TImageList* images = SmallIcons ? SmallOutput : LargeOutput;
  TSaveReport report;
  bool complete = false;
  std::wstring pattern;
  {
    // The saver's temporary folder is gone at the end of this block, before
    // the summary shows.
    TIconSaver saver(SaveFolder, type, ChosenPngSize());
    for (int i = 0; i < images->Count() && size_t(i) < items_.size(); ++i)
      if (all || ListView1->Selected(i)) saver.Add(i, items_[size_t(i)]);
    // Files already there are replaced only when the user says so, once
    // for the whole save.
    bool replace = true;
    if (const int existing = saver.Existing(); existing > 0) {
      const int answer = services_->ShowMessageBox(Handle(), L"已有 " + std::to_wstring(existing) + L" 个同名文件，是否替换？",
                                                   MsgCaption, MB_YESNOCANCEL | MB_ICONQUESTION);
      if (answer == IDCANCEL) return false;
      replace = answer == IDYES;
    }
    complete = saver.Write(*images, replace, report);
    pattern = saver.NamePattern();
  }
  services_->ShowMessageBox(Handle(), report.Summary({MsgFilesSaved, MsgSavePath, MsgNameFormat}, SaveFolder, pattern),
                            Application().Title(), MB_OK);
  return complete;
}

// ------------------------------------------------------ view, help, update

void TFormKelmar::RB32Click() {
  SmallIcons = RB16->Checked();
  ListView1->SetViewStyle(SmallIcons ? TViewStyle::vsSmallIcon : TViewStyle::vsIcon);
}

namespace {

std::wstring ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  path.erase(std::min(path.size(), path.find_last_of(L'\\')));
  return path;
}

std::wstring CurrentFolder() {
  DWORD length = GetCurrentDirectoryW(0, nullptr);
  std::wstring folder(length, L'\0');
  folder.resize(GetCurrentDirectoryW(length, folder.data()));
  return folder;
}


}  // namespace

void TFormKelmar::BTNHelpClick() {
  // Beside the program first: the current directory follows the open dialog.
  const std::wstring beside = ProgramFolder(), current = CurrentFolder();
  for (const std::wstring& folder : {beside, current}) {
    const std::wstring file = InFolder(folder, L"Kelmarhelp.chm");
    if (IsFile(file)) {
      OpenWithShell(L"open", file);
      return;
    }
  }
  std::wstring looked = beside + (current == beside ? L"" : L"\r" + current);
  services_->ShowMessageBox(Handle(), L"找不到帮助文件 Kelmarhelp.chm。\r查找过的文件夹:\r" + looked, MsgCaption,
                            MB_OK | MB_ICONINFORMATION);
}

void TFormKelmar::BtnUpdateClick() { OpenWithShell(nullptr, UpdatePage); }

void TFormKelmar::OpenWithShell(const wchar_t* verb, const std::wstring& target) {
  HINSTANCE result = services_->ShellOpen(Handle(), verb, target, SW_SHOWNORMAL);
  if (reinterpret_cast<INT_PTR>(result) <= 32)
    services_->ShowMessageBox(Handle(), CannotOpenText(target), MsgCaption, MB_OK | MB_ICONINFORMATION);
}

}  // namespace kelmar
