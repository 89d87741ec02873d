#include "app/form_kelmar.h"

#include "app/res/resource_ids.h"
#include "app/version.h"

namespace kelmar {

TFormKelmar* FormKelmar = nullptr;

const wchar_t kFormCaption[] = L"Kelmar V$V$(文件图标提取器)";
const wchar_t kHomePage[] = L"https://kelmar.app/";
const wchar_t kContactMail[] = L"support@kelmar.app";
const wchar_t kUpdatePage[] = L"https://kelmar.app/update/";

namespace {

const wchar_t kStatusText[] = L"支持文件拖放，您可以把文件拖入本程序进行图标提取！";

HBITMAP LoadGlyph(int id) {
  // Grey background pixels take the button face colour.
  return static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
}

template <typename T>
T* Place(T* control, TWinControl* parent, int left, int top, int width, int height) {
  control->SetBounds(left, top, width, height);
  control->SetParent(parent);
  return control;
}

TksSkinButton* ToolButton(TFormKelmar* form, const char* name, TWinControl* parent, int left, int width,
                          int glyph, const wchar_t* hint) {
  auto* b = new TksSkinButton(form, name);
  b->SetGlyph(LoadGlyph(glyph));
  b->SetHint(hint);
  return Place(b, parent, left, 8, width, 25);
}

void SetLinkLook(TURLLabel* label) {
  label->Font() = TFont(L"Verdana", 11, RGB(60, 60, 120));
  TFontStyles underline;
  underline.underline = true;
  label->Font().SetStyle(underline);
  label->SetUnvisitedColor(RGB(60, 60, 120));
  label->SetVisitedColor(RGB(130, 95, 70));
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
  CreateHandle();
  SetClientSize(667, 363);

  AppStatusBar = new TksSkinStatusBar(this, "AppStatusBar");
  AppStatusBar->SetBounds(0, 342, 667, 21);
  AppStatusBar->SetAlign(TAlign::alBottom);
  AppStatusBar->SetParent(this);
  ksSkinStatusPanel1 = new TksSkinStatusPanel(this, "ksSkinStatusPanel1");
  ksSkinStatusPanel1->SetAlign(TAlign::alClient);
  ksSkinStatusPanel1->SetBevel(TBevel::bvLowered);
  ksSkinStatusPanel1->SetCaptionAlignment(TAlignment::taLeftJustify);
  ksSkinStatusPanel1->SetCaption(kStatusText);
  ksSkinStatusPanel1->SetParent(AppStatusBar);

  ksSkinPanel1 = new TksSkinPanel(this, "ksSkinPanel1");
  ksSkinPanel1->SetBounds(0, 0, 667, 41);
  ksSkinPanel1->SetAlign(TAlign::alTop);
  ksSkinPanel1->SetBevel(TBevel::bvRaised);
  ksSkinPanel1->SetParent(this);

  BTNSelFile = ToolButton(this, "BTNSelFile", ksSkinPanel1, 8, 41, IDB_SELFILE, L"选择要提取的文件");
  RB16 = new TksSkinCheckRadioBox(this, "RB16");
  RB16->SetRadio(true);
  RB16->SetGroupIndex(1);
  RB16->SetCaption(L"16×16");
  RB16->SetHint(L"小图标");
  Place(RB16, ksSkinPanel1, 56, 8, 65, 25);
  RB32 = new TksSkinCheckRadioBox(this, "RB32");
  RB32->SetRadio(true);
  RB32->SetGroupIndex(1);
  RB32->SetCaption(L"32×32");
  RB32->SetHint(L"大图标");
  RB32->SetChecked(true);
  Place(RB32, ksSkinPanel1, 124, 8, 65, 25);
  BTNSave = ToolButton(this, "BTNSave", ksSkinPanel1, 192, 29, IDB_SAVE, L"保存当前选中图标");
  BTNSaveAll = ToolButton(this, "BTNSaveAll", ksSkinPanel1, 224, 29, IDB_SAVEALL, L"保存全部图标");
  CombPicType = new TksSkinComboBox(this, "CombPicType");
  CombPicType->SetItems({L"图标", L"图片"});
  CombPicType->SetItemIndex(0);
  CombPicType->SetHint(L"保存文件类型(图标ico/图片bmp)");
  Place(CombPicType, ksSkinPanel1, 257, 10, 54, 20);
  BTNHelp = ToolButton(this, "BTNHelp", ksSkinPanel1, 349, 33, IDB_HELP, L"帮助");
  BtnUpdate = ToolButton(this, "BtnUpdate", ksSkinPanel1, 389, 33, IDB_UPDATE, L"升级");

  Label5 = new TLabel(this, "Label5");
  Label5->SetAlignment(TAlignment::taRightJustify);
  Label5->SetTransparent(true);
  Label5->SetBounds(488, 7, 0, 13);
  Label5->SetCaption(L"主页:");
  Label5->SetParent(ksSkinPanel1);
  URLLabel4 = new TURLLabel(this, "URLLabel4", services_);
  SetLinkLook(URLLabel4);
  URLLabel4->SetCaption(kHomePage);
  URLLabel4->SetHint(kHomePage);
  URLLabel4->SetURL(kHomePage);
  Place(URLLabel4, ksSkinPanel1, 496, 6, 147, 13);
  Label6 = new TLabel(this, "Label6");
  Label6->SetAlignment(TAlignment::taRightJustify);
  Label6->SetTransparent(true);
  Label6->SetBounds(489, 23, 0, 13);
  Label6->SetCaption(L"邮箱:");
  Label6->SetParent(ksSkinPanel1);
  URLLabel1 = new TURLLabel(this, "URLLabel1", services_);
  SetLinkLook(URLLabel1);
  URLLabel1->SetCaption(kContactMail);
  URLLabel1->SetURL(std::wstring(L"mailto:") + kContactMail);
  Place(URLLabel1, ksSkinPanel1, 496, 22, 119, 13);

  Image2 = new TImage(this, "Image2");
  Image2->SetVisible(false);
  Place(Image2, ksSkinPanel1, 328, 0, 25, 17);

  LargeImage = new TImageList(this, "LargeImage", 32, 32);
  SmallImage = new TImageList(this, "SmallImage", 16, 16);
  ListView1 = new TListView(this, "ListView1");
  ListView1->SetColor(RGB(255, 255, 255));
  ListView1->SetMultiSelect(true);
  ListView1->SetHideSelection(false);
  ListView1->Font() = TFont(L"MS Sans Serif", 11);
  ListView1->SetHint(kStatusText);
  ListView1->SetLargeImages(LargeImage);
  ListView1->SetSmallImages(SmallImage);
  ListView1->SetStateImages(SmallImage);
  ListView1->SetViewStyle(TViewStyle::vsIcon);
  ListView1->SetAlign(TAlign::alClient);
  ListView1->SetParent(this);

  OnCreate = [this] { FormCreate(); };
  OnClose = [this](TCloseAction& action) { FormClose(action); };
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
}

void TFormKelmar::FormClose(TCloseAction& action) {
  services_->AcceptDroppedFiles(Handle(), false);
  action = TCloseAction::caFree;
}

void TFormKelmar::WndProc(TMessage& m) { TForm::WndProc(m); }

}  // namespace kelmar
