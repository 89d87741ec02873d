#include "skin/data/skin_description.h"

#include <gtest/gtest.h>

#include "base/error.h"

namespace kelmar {
namespace {

TEST(IniTable, SyntaxTrimmingCommentsAndSections) {
  IniTable t = IniTable::FromText(
      "orphan=before any section\r\n"
      "  [ pictures ]  \r\n"
      "\t picture = frame.bmp \r"
      "; mask=commented.bmp\n"
      "\n"
      "formula = a=b=c\r\n"
      "no equals sign here\r\n"
      "[Other]\n"
      "PICTURE=other\n");
  EXPECT_TRUE(t.SectionExists("PICTURES"));
  EXPECT_TRUE(t.SectionExists("Pictures"));
  EXPECT_FALSE(t.SectionExists(" pictures "));
  EXPECT_EQ(t.ReadString("PICTURES", "PICTURE", "-"), "frame.bmp");
  EXPECT_EQ(t.ReadString("pictures", "formula", "-"), "a=b=c");
  EXPECT_FALSE(t.ValueExists("pictures", "mask"));
  EXPECT_FALSE(t.ValueExists("pictures", "orphan"));
  EXPECT_EQ(t.ReadSectionKeys("pictures"), (std::vector<std::string>{"picture", "formula"}));
  EXPECT_EQ(t.ReadString("other", "picture", "-"), "other");
  EXPECT_EQ(t.ReadString("missing", "picture", "dflt"), "dflt");
  EXPECT_EQ(t.SectionNames(), (std::vector<std::string>{"pictures", "Other"}));
}

TEST(IniTable, RepeatedSectionContinuesAndFirstKeyCounts) {
  IniTable t = IniTable::FromText("[a]\nx=1\nx=2\n[b]\n[A]\ny=3\n");
  EXPECT_EQ(t.ReadInteger("a", "x", 0), 1);
  EXPECT_EQ(t.ReadInteger("a", "y", 0), 3);
}

TEST(IniTable, Integers) {
  IniTable t = IniTable::FromText(
      "[c]\nhex=0x3B3B3B\ndollar=$FF\nneg=-42\nplus=+7\nbad=12a\nx=0x\nempty=\n"
      "max=2147483647\nover=2147483648\nmin=-2147483648\nallbits=$FFFFFFFF\nwide=0x100000000\n");
  EXPECT_EQ(t.ReadInteger("c", "hex", 0), 3881787);
  EXPECT_EQ(t.ReadInteger("c", "dollar", 0), 255);
  EXPECT_EQ(t.ReadInteger("c", "neg", 0), -42);
  EXPECT_EQ(t.ReadInteger("c", "plus", 0), 7);
  EXPECT_EQ(t.ReadInteger("c", "bad", -5), -5);
  EXPECT_EQ(t.ReadInteger("c", "x", -5), -5);  // "0x" alone is not hex
  EXPECT_EQ(t.ReadInteger("c", "empty", -5), -5);
  EXPECT_EQ(t.ReadInteger("c", "max", 0), 2147483647);
  EXPECT_EQ(t.ReadInteger("c", "over", -5), -5);
  EXPECT_EQ(t.ReadInteger("c", "min", 0), INT32_MIN);
  EXPECT_EQ(t.ReadInteger("c", "allbits", 0), -1);
  EXPECT_EQ(t.ReadInteger("c", "wide", -5), -5);
  EXPECT_EQ(t.ReadInteger("c", "missing", 9), 9);
}

TEST(IniTable, WriteEraseAndTextRoundTrip) {
  IniTable t = IniTable::FromText("[one]\nkeep=1\nraw line\n[two]\nz=9\n");
  t.WriteString("ONE", "KEEP", "2");
  t.WriteInteger("one", "added", -3);
  t.WriteString("three", "k", "v");
  t.EraseSection("TWO");
  EXPECT_FALSE(t.SectionExists("two"));
  t.WriteString("three", "k2", "v2");  // the index still finds "three" after the erase
  EXPECT_EQ(t.ToText(), "[one]\r\nkeep=2\r\nraw line\r\nadded=-3\r\n\r\n[three]\r\nk=v\r\nk2=v2\r\n\r\n");
  IniTable again = IniTable::FromText(t.ToText());
  EXPECT_EQ(again.ToText(), t.ToText());
}

TEST(SkinDescription, RectAndPoint) {
  IniTable t = IniTable::FromText(
      "[FORMINFO]\nclientrect=8,28,696,284\nspaced=8, 28 ,696 , 284\nneg=-3,4,5,6\n"
      "extra=1,2,3,4,5\nbroken=3,,5,7\nshort=1,2,3\npoint=695,283\n");
  EXPECT_EQ(ReadRectKey(t, "FORMINFO", "clientrect"), (Rect{8, 28, 696, 284}));
  EXPECT_EQ(ReadRectKey(t, "forminfo", "spaced"), (Rect{8, 28, 696, 284}));
  EXPECT_EQ(ReadRectKey(t, "FORMINFO", "neg"), (Rect{3, 4, 5, 6}));
  EXPECT_EQ(ReadRectKey(t, "FORMINFO", "extra"), (Rect{1, 2, 3, 4}));
  EXPECT_EQ(ReadRectKey(t, "FORMINFO", "missing"), (Rect{0, 0, 0, 0}));
  EXPECT_EQ(ReadPointKey(t, "FORMINFO", "point"), (Point{695, 283}));
  EXPECT_EQ(ReadPointKey(t, "FORMINFO", "missing"), (Point{0, 0}));
  EXPECT_EQ(ReadPointKey(t, "nosection", "point"), (Point{0, 0}));

  try {
    ReadRectKey(t, "FORMINFO", "broken");
    FAIL() << "no conversion error";
  } catch (const ConvertError& e) {
    EXPECT_STREQ(e.what(), "'' is not a valid integer value");
  }
  EXPECT_THROW(ReadRectKey(t, "FORMINFO", "short"), ConvertError);
  try {
    ParsePointText("1,99999999999");
    FAIL() << "no conversion error";
  } catch (const ConvertError& e) {
    EXPECT_STREQ(e.what(), "'99999999999' is not a valid integer value");
  }
  EXPECT_THROW(ParsePointText("x,y"), ConvertError);

  IniTable w;
  WriteRectKey(w, "s", "r", {8, 28, 696, 284});
  WritePointKey(w, "s", "p", {7, 3});
  EXPECT_EQ(w.ReadString("s", "r", ""), "8,28,696,284");
  EXPECT_EQ(w.ReadString("s", "p", ""), "7,3");
}

TEST(SkinDescription, FlagsAndFonts) {
  IniTable t = IniTable::FromText(
      "[s]\none=1\ntwo=2\nempty=\nhexone=$1\n"
      "fontstyle=fsitalic,fsbold\nall=fsstrikeout fsunderlinefsboldfsitalic\nupper=FSBOLD\n"
      "captionfontname=Arial\ncaptionfontheight=-11\ncaptionfontcolor=0x3B3B3B\n");
  EXPECT_TRUE(ReadFlagKey(t, "s", "one"));
  EXPECT_TRUE(ReadFlagKey(t, "s", "hexone"));
  EXPECT_FALSE(ReadFlagKey(t, "s", "two"));
  EXPECT_FALSE(ReadFlagKey(t, "s", "empty"));
  EXPECT_FALSE(ReadFlagKey(t, "s", "missing"));

  EXPECT_EQ(ReadFontStyleKey(t, "s", "fontstyle"), fsBold | fsItalic);
  EXPECT_EQ(ReadFontStyleKey(t, "s", "all"), fsBold | fsItalic | fsUnderline | fsStrikeout);
  EXPECT_EQ(ReadFontStyleKey(t, "s", "upper"), 0);
  EXPECT_EQ(ReadFontStyleKey(t, "s", "missing"), 0);

  IniTable w;
  WriteFontStyleKey(w, "s", "fontstyle", ReadFontStyleKey(t, "s", "fontstyle"));
  WriteFontStyleKey(w, "s", "none", 0);
  EXPECT_EQ(w.ReadString("s", "fontstyle", "-"), "fsbold,fsitalic");
  EXPECT_EQ(w.ReadString("s", "none", "-"), "");
  WriteFlagKey(w, "s", "f", true);
  WriteFlagKey(w, "s", "g", false);
  EXPECT_EQ(w.ReadString("s", "f", ""), "1");
  EXPECT_EQ(w.ReadString("s", "g", ""), "0");

  SkinFont caption = ReadFontKeys(t, "s", "captionfont");
  EXPECT_EQ(caption.name, "Arial");
  EXPECT_EQ(caption.height, -11);
  EXPECT_EQ(caption.style, 0);
  EXPECT_EQ(caption.color, 3881787u);
  SkinFont plain = ReadFontKeys(t, "s", "font");
  EXPECT_EQ(plain.name, "\xCB\xCE\xCC\xE5");
  EXPECT_EQ(plain.height, 14);
  EXPECT_EQ(plain.style, fsBold | fsItalic);
  EXPECT_EQ(plain.color, 0u);
}

TEST(SkinDescription, NamedValues) {
  IniTable t = IniTable::FromText(
      "[s]\nleft=taleftjustify\nright=tarightjustify\ncenter=tacenter\nodd=TACENTER\n"
      "push=mkpush\nslide=mkleftslide\nbadmorph=mkPush\n"
      "gray=IEGRAYSCALE\ndark=IEDARKNESS\ninvert=ieinvert\nempty=\n");
  EXPECT_EQ(ReadAlignmentKey(t, "s", "left"), Alignment::taLeftJustify);
  EXPECT_EQ(ReadAlignmentKey(t, "s", "right"), Alignment::taRightJustify);
  EXPECT_EQ(ReadAlignmentKey(t, "s", "center"), Alignment::taCenter);
  EXPECT_EQ(ReadAlignmentKey(t, "s", "odd"), Alignment::taRightJustify);
  EXPECT_EQ(ReadAlignmentKey(t, "s", "missing"), Alignment::taCenter);

  EXPECT_EQ(int(ReadMorphKindKey(t, "s", "push")), 6);
  EXPECT_EQ(int(ReadMorphKindKey(t, "s", "slide")), 4);
  EXPECT_EQ(int(ReadMorphKindKey(t, "s", "badmorph")), 0);
  EXPECT_EQ(int(ReadMorphKindKey(t, "s", "missing")), 0);

  EXPECT_EQ(int(ReadInactiveEffectKey(t, "s", "gray")), 2);
  EXPECT_EQ(int(ReadInactiveEffectKey(t, "s", "dark")), 2);
  EXPECT_EQ(int(ReadInactiveEffectKey(t, "s", "invert")), 5);
  EXPECT_EQ(int(ReadInactiveEffectKey(t, "s", "empty")), 2);
  EXPECT_EQ(int(ReadInactiveEffectKey(t, "s", "missing")), 0);

  IniTable w;
  WriteAlignmentKey(w, "s", "a0", Alignment::taLeftJustify);
  WriteAlignmentKey(w, "s", "a1", Alignment::taRightJustify);
  WriteAlignmentKey(w, "s", "a2", Alignment::taCenter);
  WriteMorphKindKey(w, "s", "m3", MorphKind::mkRightGradient);
  WriteMorphKindKey(w, "s", "m5", MorphKind::mkRightSlide);
  WriteInactiveEffectKey(w, "s", "e3", InactiveEffect::ieNoise);
  EXPECT_EQ(w.ReadString("s", "a0", ""), "taleftjustify");
  EXPECT_EQ(w.ReadString("s", "a1", ""), "tarightjustify");
  EXPECT_EQ(w.ReadString("s", "a2", ""), "tacenter");
  EXPECT_EQ(w.ReadString("s", "m3", ""), "mkrightgradient");
  EXPECT_EQ(w.ReadString("s", "m5", ""), "mkrightslide");
  EXPECT_EQ(w.ReadString("s", "e3", ""), "ienoise");
}

TEST(SkinDescription, ListsAndLines) {
  IniTable t = IniTable::FromText(
      "[PICTURES]\nactivepicturescount=2\n0=a.bmp\n\n"
      "[gap]\nactivepicturescount=3\n0=x.bmp\n2=z.bmp\n"
      "[huge]\nitemscount=2147483647\n"
      "[label]\nsymbolslinecount=2\nsymbolsline0=0123\nsymbolsline1=ABC\n");
  std::vector<std::string> list{"kept"};
  ReadIndexedList(t, "pictures", "activepictures", list);
  EXPECT_EQ(list, (std::vector<std::string>{"kept", "a.bmp", ""}));
  list.clear();
  ReadIndexedList(t, "gap", "activepictures", list);
  EXPECT_EQ(list, (std::vector<std::string>{"x.bmp", "", "z.bmp"}));
  list.clear();
  ReadIndexedList(t, "huge", "items", list);
  EXPECT_EQ(list.size(), size_t(kMaxListCount));

  std::vector<std::string> lines;
  ReadNumberedLines(t, "label", "symbols", lines);
  EXPECT_EQ(lines, (std::vector<std::string>{"0123", "ABC"}));

  IniTable w;
  WriteNumberedLines(w, "label", "symbols", lines);
  EXPECT_EQ(w.ReadSectionKeys("label"),
            (std::vector<std::string>{"symbolslinecount", "symbolsline0", "symbolsline1"}));
  EXPECT_EQ(w.ReadString("label", "symbolsline1", ""), "ABC");
}

TEST(SkinDescription, TypedEntriesAndSkinSections) {
  TypedEntry e = ParseTypedEntry("statusbar:panel");
  EXPECT_EQ(e.section, "statusbar");
  EXPECT_EQ(e.type, "panel");
  e = ParseTypedEntry("a:b:c");
  EXPECT_EQ(e.section, "a");
  EXPECT_EQ(e.type, "b:c");
  e = ParseTypedEntry("nocolon");
  EXPECT_EQ(e.section, "");
  EXPECT_EQ(e.type, "");

  const char* all = "[version]\n[pictures]\n[FormInfo]\n[SKINOBJECTS]\n[skincontrols]\n";
  EXPECT_TRUE(HasSkinSections(IniTable::FromText(all)));
  EXPECT_FALSE(HasSkinSections(IniTable::FromText("[version]\n[pictures]\n[FormInfo]\n[SKINOBJECTS]\n")));
}

}  // namespace
}  // namespace kelmar
