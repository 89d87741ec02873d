#pragma once
// The main window: the tool bar, the icon list and the commands on it.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/icon_save.h"
#include "app/icon_source.h"
#include "framework/forms.h"
#include "framework/list_view.h"
#include "framework/menus.h"
#include "framework/platform.h"
#include "framework/std_controls.h"
#include "imageio/png_icon.h"
#include "skin/controls/skin_controls_win32.h"
#include "skin/form/skin_data_components_win32.h"
#include "skin/form/skin_form_win32.h"
#include "skin/form/skin_hint_win32.h"
#include "widgets/url_label_win32.h"

namespace kelmar {

class TFormKelmar : public TForm {
 public:
  explicit TFormKelmar(TComponent* owner = nullptr, TPlatformServices* services = nullptr);
  ~TFormKelmar() override;

  // Components, in the order of the form definition.
  TksSkinDataComponent* ksSkinData1;
  TksCompressedStoredSkinComponent* ksCompressedStoredSkin1;
  TksSkinForm* ksSkinForm1;
  TksSkinHint* ksSkinHint1;
  TksSkinStatusBar* AppStatusBar;
  TksSkinStatusPanel* ksSkinStatusPanel1;
  TksSkinPanel* ksSkinPanel1;
  TksSkinButton* BTNSelFile;
  TksSkinCheckRadioBox* RB16;
  TksSkinCheckRadioBox* RB32;
  TksSkinButton* BTNSave;
  TksSkinButton* BTNSaveAll;
  TksSkinComboBox* CombPicType;
  // The size of PNG pictures: 最大, 256 ... 16, 全部尺寸 (kept while the
  // program runs, as every choice of the window).
  TksSkinComboBox* CombPngSize;
  TksSkinButton* BTNHelp;
  TksSkinButton* BtnUpdate;
  TLabel* Label5;
  TURLLabel* URLLabel4;
  TLabel* Label6;
  TURLLabel* URLLabel1;
  TImage* Image2;
  TListView* ListView1 = nullptr;
  TImageList* LargeImage;
  TImageList* SmallImage;
  // What the saved files are made from: 32 x 32 and 16 x 16 whatever the
  // display's scale, so that a file does not depend on the screen it was
  // saved on. The shown lists themselves at 96 DPI, lists of their own else.
  TImageList* LargeOutput;
  TImageList* SmallOutput;
  TPopupMenu* PopupMenu1;
  // An item's right-click menu: Save and Save all.
  TksSkinPopupMenu* ItemMenu;
  // The tool buttons and their pictures' resource (the 18-pixel set's).
  std::vector<std::pair<TksSkinButton*, int>> ToolGlyphs;

  // Run state shared by the commands.
  int IconCounter = 0;
  bool SaveAll = false;
  bool SmallIcons = false;
  std::wstring SaveFolder;

  // Message texts, set by FormCreate.
  std::wstring MsgCaption;
  std::wstring MsgTooMany;
  std::wstring MsgChooseFolder;
  std::wstring MsgNoIcons;
  std::wstring MsgFilesSaved;
  std::wstring MsgSavePath;
  std::wstring MsgNameFormat;
  std::wstring UpdatePage;

  // Event handlers.
  void FormCreate();
  void FormClose(TCloseAction& action);
  void BTNSelFileClick();
  void WMDropFiles(HDROP drop);
  // Files given as a drop gives them (the command line's): the existing
  // ones make a new batch; none leaves the list as it is; refused while
  // busy.
  void TakeInGivenFiles(const std::vector<std::wstring>& paths);
  void BTNSaveClick();
  void BTNSaveAllClick();
  void RB32Click();
  void BTNHelpClick();
  void BtnUpdateClick();

  // Intake: adds `count` icons of one file to the list and both image lists
  // (fewer when the user keeps a full batch at the limit).
  void ExtractFileIcons(const std::wstring& path, int count);
  // The icon group that list item `index` shows: its directory, with the
  // bytes of only its own 16-colour images of the lists' sizes (the
  // originals are read again from the file when saved); null for an item
  // that shows a shell icon or the picture of a file of one item, and for
  // an index outside the list.
  std::shared_ptr<const IconGroup> ItemIconGroup(int index) const;
  // Saving: the whole save of the list, folder choice and summary included.
  void SaveIconsAsIco();
  void SaveIconsAsBmp();

  TPlatformServices& Services() const { return *services_; }

  void WndProc(TMessage& m) override;
  // Placed, FormCreate run, then shown.
  void Loaded() override;
  // The controls, the frame and the shown icons for `dpi`, as a start at
  // that DPI makes them; the list keeps its items and selection.
  void ScaleTo(int dpi) override;
  // The own skin shown: the dark one while the user asks applications for
  // their dark look.
  TOwnSkin OwnSkin() const { return own_skin_; }

 private:
  void ClearBatch();
  void ClearItems();
  // A new batch with these files' icons, in order, until the user keeps a
  // full batch at the limit.
  void TakeIn(const std::vector<std::wstring>& paths);
  // False when the intake stops here: the user kept the full batch.
  bool ExtractFileIcons(const std::wstring& path, int count, const FileIcons& icons);
  // At the limit: asks, saves the whole batch and clears it; false (batch
  // untouched) when the user cancels or the batch is not wholly saved.
  bool StartNewBatch();
  void AddPendingIcons();
  // Empties the shown and the output image lists.
  void ClearImages();
  TOutputType ChosenOutputType() const;
  PngSizeChoice ChosenPngSize() const;
  // Writes every entry (`all`) or the selected ones, asking once before
  // replacing files; an entry that cannot be written is told in the
  // summary and the others are written all the same. True when every one
  // of them is now in the folder; false when the user cancelled, kept
  // existing files or some could not be written.
  bool SaveIcons(TOutputType type, bool all);
  // The status bar: how many icons from how many files, and how many are
  // selected; the drop hint while the list is empty. `recount` after an
  // intake (the files are counted again).
  void ShowListStatus(bool recount);
  // A list item's hint: the path it came from, its index in that file and
  // the images its icon holds.
  std::wstring ItemHint(int item) const;
  // The own skin the system asks for, loaded at once and the whole window
  // repainted when it is not the one shown.
  void FollowSystemColours();
  // The list, labels and links in the colours of the skin (their own where
  // it gives none).
  void ApplyClientColours();
  // The keys of the commands, wherever the focus is in the window.
  bool ShortCut(WORD key, TShiftState shift);
  // The shell's open; a failure is told to the user.
  void OpenWithShell(const wchar_t* verb, const std::wstring& target);

  // Set while a command is under way with its dialogs (the open dialog, the
  // folder chooser, a question, the summary) or an intake or a save runs:
  // the system's modal loops still deliver drops and keys then, and a drop
  // or a command taken in the middle would change the batch being saved.
  class TBusyScope;
  int busy_ = 0;
  // False, with a warning sound, while busy.
  bool MayStartCommand() const;

  TPlatformServices* services_;
  TOwnSkin own_skin_ = TOwnSkin::Light;
  // The own skin drawn at 150 and 200 %, owned by the form as components.
  std::vector<TksCompressedStoredSkinComponent*> skinDrawings_;
  std::vector<int> skinDrawingDpis_;
  bool list_theme_dark_ = false;
  // Icons of list items whose images are not in the image lists yet: the
  // large one, and the group's own small one where it has one (else the
  // large one is scaled); where the output lists are lists of their own,
  // the same at their sizes (empty: the shown ones, drawn at those sizes).
  struct TPendingIcon {
    ExtractedIcon large, small;
    ExtractedIcon output_large, output_small;
    // No image of the item's could be drawn: the shell's icon stands in.
    bool shell = false;
  };
  // What the shown lists take of an item that shows `shown` (null: none,
  // or none that can be drawn; the shell's icon for `path` then).
  TPendingIcon ShownIcon(const IconGroup* shown, const std::wstring& path, int display_bits) const;
  // The shown lists at the sizes for `dpi`, their images made anew.
  void ScaleImageLists(int dpi);
  // The shown lists, new and empty, take every item's image at their size;
  // `before` is the large list they replace.
  void ReloadShownImages(const TImageList& before);
  std::vector<TPendingIcon> pending_icons_;
  // What a save needs of each list item, in list order (the items of one
  // file share its origin).
  std::vector<TSaveItem> items_;
  // The images each list item's icon holds, for its hint (empty for a shell
  // icon), in list order.
  std::vector<std::wstring> item_summaries_;
  // Files of the batch, counted after each intake.
  int batch_files_ = 0;
};

// The side of the tool pictures at `dpi`.
int GlyphSize(int dpi);
// Gives the tool button the picture `id` (of the 18-pixel set) for `dpi`: the
// set drawn at that size, else the nearest larger set scaled down.
void LoadGlyph(TksSkinButton* button, int id, int dpi);

// The main form while it exists.
extern TFormKelmar* FormKelmar;

// Texts of the form definition.
extern const wchar_t kFormCaption[];
extern const wchar_t kHomePage[];
extern const wchar_t kContactMail[];
extern const wchar_t kUpdatePage[];

}  // namespace kelmar
