// The main window's skin: loaded from the embedded package while the form is
// created, announced to the forms by real window messages, and kept when the
// stored skin component goes away.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app_fixture.h"
#include "skin/data/compressed_stored_skin.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_package.h"

namespace kelmar::test {
namespace {

TEST_F(FormTest, SkinIsLoadedWhenTheFormHasStarted) {
  ASSERT_NE(form->ksSkinData1, nullptr);
  ASSERT_NE(form->ksCompressedStoredSkin1, nullptr);
  EXPECT_FALSE(form->ksCompressedStoredSkin1->IsEmpty());
  EXPECT_EQ(form->ksSkinData1->CompressedStoredSkin(), form->ksCompressedStoredSkin1);
  EXPECT_FALSE(form->ksSkinData1->Skin().Empty);
  EXPECT_EQ(form->ksSkinData1->Skin().Picture.Width(), 704);
  EXPECT_EQ(form->ksSkinData1->Skin().Picture.Height(), 292);
  EXPECT_EQ(form->ksSkinData1->Skin().clientrect, (Rect{8, 28, 696, 284}));
  for (const char* name : {"statusbar", "statuspanel", "panel", "button", "radiobox", "combobox"})
    EXPECT_GE(form->ksSkinData1->Skin().FindControlData(name), 0) << name;
  // Both components belong to the form.
  EXPECT_EQ(form->FindComponent("ksSkinData1"), form->ksSkinData1);
  EXPECT_EQ(form->FindComponent("ksCompressedStoredSkin1"), form->ksCompressedStoredSkin1);
  EXPECT_TRUE(exceptions.empty());
}

// Records the skin messages that reach a form's window, ahead of the form.
class SkinMessageLog {
 public:
  struct Entry {
    HWND window;
    UINT message;
    WPARAM wparam;
    LPARAM lparam;
  };
  SkinMessageLog(std::vector<Entry>& log, TForm* form) {
    HWND window = form->Handle();
    filter_ = form->AddFilter([&log, window](TMessage& m, const TWindowNext& next) {
      if (m.Msg >= 1225 && m.Msg <= 1227) log.push_back({window, m.Msg, m.WParam, m.LParam});
      next(m);
    });
  }

 private:
  TWindowFilter filter_;
};

// A form with a window and nothing else.
class PlainForm : public TForm {
 public:
  PlainForm() : TForm(nullptr, "Other") { CreateHandle(); }
};

TEST_F(FormTest, ReloadingSendsTheSkinMessagesToTheOwnerFormFirstThenTheOthers) {
  // The application's forms in creation order: the fixture's form, `other`,
  // then `second`, whose skin data is reloaded: `second` is served first.
  auto* other = new PlainForm;
  auto* second = new TFormKelmar(nullptr, &services);
  std::vector<SkinMessageLog::Entry> log;
  const HWND windows[] = {second->Handle(), form->Handle(), other->Handle()};
  const auto sender = reinterpret_cast<WPARAM>(&second->ksSkinData1->Skin());
  {
    SkinMessageLog firstLog(log, form), otherLog(log, other), secondLog(log, second);
    second->ksSkinData1->Skin().LoadCompressedSkin(*second->ksCompressedStoredSkin1);
  }
  EXPECT_FALSE(second->ksSkinData1->Skin().Empty);
  EXPECT_TRUE(second->ksSkinData1->IsSender(sender));
  EXPECT_FALSE(form->ksSkinData1->IsSender(sender));
  delete second;
  delete other;
  FormKelmar = form;  // the second form took the global while it lived

  ASSERT_EQ(log.size(), 9u);
  for (size_t i = 0; i < log.size(); ++i) {
    EXPECT_EQ(log[i].message, 1225 + i / 3) << i;
    EXPECT_EQ(log[i].window, windows[i % 3]) << i;
    EXPECT_EQ(log[i].wparam, sender) << i;
    EXPECT_EQ(log[i].lparam, 1000) << i;
  }
}

TEST_F(FormTest, FreeingTheStoredSkinClearsTheReferenceAndKeepsTheSkin) {
  delete form->ksCompressedStoredSkin1;
  form->ksCompressedStoredSkin1 = nullptr;
  EXPECT_EQ(form->ksSkinData1->CompressedStoredSkin(), nullptr);
  EXPECT_EQ(form->ksSkinData1->Skin().CompressedStoredSkin(), nullptr);
  EXPECT_FALSE(form->ksSkinData1->Skin().Empty);
  EXPECT_EQ(form->ksSkinData1->Skin().Picture.Width(), 704);
}

// The bytes of an RCDATA resource of kelmar.exe; empty when it has none.
std::vector<uint8_t> ProgramResource(const wchar_t* name) {
  const std::wstring exe = ProgramPath(KELMAR_EXE);
  HMODULE module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return {};
  std::vector<uint8_t> bytes;
  if (HRSRC info = FindResourceW(module, name, RT_RCDATA)) {
    const auto* data = static_cast<const uint8_t*>(LockResource(LoadResource(module, info)));
    if (data) bytes.assign(data, data + SizeofResource(module, info));
  }
  FreeLibrary(module);
  return bytes;
}

// kelmar.exe carries the same package as the programs built for the tests.
TEST(EmbeddedSkin, TheProgramCarriesThePackage) {
  const std::vector<uint8_t> own = EmbeddedSkinPackage();
  ASSERT_GT(own.size(), 2u);
  EXPECT_EQ(own[0], 0x78);  // a zlib stream made at level 9
  EXPECT_EQ(own[1], 0xDA);
  EXPECT_EQ(ProgramResource(L"KELMAR_SKIN"), own);
}

// The skin drawn for 150 % and 200 %: two more packages, in the order of
// their DPI, each naming its DPI and holding pictures of that scale; the
// 96-DPI package names none.
TEST(EmbeddedSkin, TheProgramCarriesTheSkinDrawnFor144And192Dpi) {
  const std::vector<TEmbeddedDrawing> drawings = EmbeddedSkinDrawings();
  ASSERT_EQ(drawings.size(), 2u);
  struct Expect {
    const wchar_t* resource;
    const char* dpiLine;
    int frameWidth, frameHeight;  // 704 x 292 at 150 % and 200 %
  };
  const Expect expect[] = {{L"KELMAR_SKIN_144", "dpi=144", 1056, 438}, {L"KELMAR_SKIN_192", "dpi=192", 1408, 584}};
  for (size_t i = 0; i < drawings.size(); ++i) {
    SCOPED_TRACE(expect[i].dpiLine);
    TksCompressedStoredSkin stored;
    stored.CompressedData() = drawings[i].package;
    const SkinPackageContent content = stored.ReadPackage();
    const auto& lines = content.descriptionLines;
    const auto version = std::find(lines.begin(), lines.end(), "[VERSION]");
    ASSERT_NE(version, lines.end());
    ASSERT_NE(version + 1, lines.end());
    EXPECT_EQ(version[1], expect[i].dpiLine);
    EXPECT_EQ(content.Slot(PackageSlot::Picture).image.Width(), expect[i].frameWidth);
    EXPECT_EQ(content.Slot(PackageSlot::Picture).image.Height(), expect[i].frameHeight);
    EXPECT_EQ(ProgramResource(expect[i].resource), drawings[i].package);
    EXPECT_EQ(drawings[i].dpi, std::stoi(expect[i].dpiLine + 4));
  }
  TksCompressedStoredSkin own;
  own.CompressedData() = EmbeddedSkinPackage();
  for (const std::string& line : own.ReadPackage().descriptionLines) EXPECT_NE(line.rfind("dpi=", 0), 0u) << line;
}

}  // namespace
}  // namespace kelmar::test
