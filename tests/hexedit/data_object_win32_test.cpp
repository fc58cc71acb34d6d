// The editor's OLE data object and its format enumerator: what they render and the OLE
// errors they answer.
#include <gtest/gtest.h>
#include <windows.h>

#include <shlobj.h>

#include "hexedit/hex_editor_control_win32.h"

namespace hexedit {
namespace {

FORMATETC Format(unsigned id, LONG index = -1, DWORD tymed = TYMED_HGLOBAL, DWORD aspect = DVASPECT_CONTENT) {
  return FORMATETC{static_cast<CLIPFORMAT>(id), nullptr, aspect, index, tymed};
}

Bytes Rendered(IDataObject* data, FORMATETC f) {
  STGMEDIUM m{};
  if (FAILED(data->GetData(&f, &m))) return {};
  const auto* p = static_cast<const std::uint8_t*>(GlobalLock(m.hGlobal));
  Bytes out(p, p + GlobalSize(m.hGlobal));
  GlobalUnlock(m.hGlobal);
  ReleaseStgMedium(&m);
  return out;
}

class DataObject : public ::testing::Test {
 protected:
  void SetUp() override { data = NewHexDataObject(Bytes{0x41, 0x00, 0x42}, false, false, u"C:\\dir\\name.dat"); }
  void TearDown() override { EXPECT_EQ(data->Release(), 0u); }
  IDataObject* data = nullptr;
};

TEST_F(DataObject, RendersEachOfferedFormat) {
  const RegisteredFormats& r = ClipboardFormats();
  EXPECT_EQ(Rendered(data, Format(CF_TEXT)), (Bytes{'A', 0}));
  const Bytes own = Rendered(data, Format(r.own));
  EXPECT_EQ(DecodeOwnBlock(own.data(), own.size()), (Bytes{0x41, 0x00, 0x42}));
  EXPECT_EQ(Rendered(data, Format(r.fileContents, 0)), (Bytes{0x41, 0x00, 0x42}));
  const Bytes group = Rendered(data, Format(r.fileGroupDescriptor));
  ASSERT_GE(group.size(), sizeof(FILEGROUPDESCRIPTORA));
  EXPECT_STREQ(reinterpret_cast<const FILEGROUPDESCRIPTORA*>(group.data())->fgd[0].cFileName, "Dump of name.bin");
}

TEST_F(DataObject, AnswersTheOleErrors) {
  const RegisteredFormats& r = ClipboardFormats();
  FORMATETC f = Format(CF_BITMAP);
  EXPECT_EQ(data->QueryGetData(&f), DV_E_FORMATETC);
  f = Format(CF_TEXT, -1, TYMED_HGLOBAL, DVASPECT_ICON);
  EXPECT_EQ(data->QueryGetData(&f), DV_E_DVASPECT);
  f = Format(CF_TEXT, -1, TYMED_ISTREAM);
  EXPECT_EQ(data->QueryGetData(&f), DV_E_TYMED);
  f = Format(CF_TEXT, 0);
  EXPECT_EQ(data->QueryGetData(&f), DV_E_LINDEX);
  f = Format(r.fileContents, 0);
  EXPECT_EQ(data->QueryGetData(&f), S_OK);
  IEnumFORMATETC* formats = nullptr;
  EXPECT_EQ(data->EnumFormatEtc(DATADIR_SET, &formats), E_NOTIMPL);
  DWORD connection = 0;
  EXPECT_EQ(data->DAdvise(&f, 0, nullptr, &connection), OLE_E_ADVISENOTSUPPORTED);
  // Of what a drop target sets, only the performed drop effects are taken.
  STGMEDIUM m{TYMED_HGLOBAL};
  m.hGlobal = GlobalAlloc(GMEM_MOVEABLE, sizeof(DWORD));
  *static_cast<DWORD*>(GlobalLock(m.hGlobal)) = DROPEFFECT_MOVE;
  GlobalUnlock(m.hGlobal);
  FORMATETC effect = Format(PerformedDropEffectFormat());
  EXPECT_EQ(data->SetData(&effect, &m, FALSE), S_OK);
  FORMATETC text = Format(CF_TEXT);
  EXPECT_EQ(data->SetData(&text, &m, FALSE), DV_E_FORMATETC);
  GlobalFree(m.hGlobal);
}

TEST_F(DataObject, TheEnumeratorWalksTheFourFormats) {
  IEnumFORMATETC* formats = nullptr;
  ASSERT_EQ(data->EnumFormatEtc(DATADIR_GET, &formats), S_OK);
  FORMATETC got[6] = {};
  ULONG fetched = 0;
  EXPECT_EQ(formats->Next(6, got, &fetched), S_FALSE);
  ASSERT_EQ(fetched, 4u);
  EXPECT_EQ(got[0].cfFormat, ClipboardFormats().own);
  EXPECT_EQ(got[1].cfFormat, CF_TEXT);
  EXPECT_EQ(got[3].lindex, 0);
  EXPECT_EQ(formats->Reset(), S_OK);
  EXPECT_EQ(formats->Skip(3), S_OK);
  IEnumFORMATETC* copy = nullptr;
  ASSERT_EQ(formats->Clone(&copy), S_OK);
  EXPECT_EQ(copy->Next(1, got, nullptr), S_OK);
  EXPECT_EQ(got[0].cfFormat, ClipboardFormats().fileContents);
  EXPECT_EQ(copy->Skip(1), S_FALSE);
  EXPECT_EQ(copy->Release(), 0u);
  EXPECT_EQ(formats->Release(), 0u);
}

}  // namespace
}  // namespace hexedit
