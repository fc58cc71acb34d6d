// The data-box and program-shortcut menus as a user meets them: built at start from the
// folders, a data-box row opens its file as the list (ANSI and UTF-8) or in the system editor,
// a shortcut row starts the target of a real shell link (with its arguments and folder), and
// files gone since the start are reported. Missing or empty folders give no rows.
#include <gtest/gtest.h>

#include <objbase.h>
#include <shlobj.h>

#include "open_recorder.h"
#include "program_fixture.h"

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

constexpr wchar_t kOpenMenu[] = L"打开  我的数据盒>>>";
constexpr wchar_t kEditMenu[] = L"编辑 我的数据盒>>";
constexpr wchar_t kShortcutMenu[] = L"打开 自定义程序快捷方式总集";

// The rows below a menu row, with their levels made relative to it.
std::vector<std::pair<int, std::wstring>> RowsBelow(const std::vector<e2e::MenuRowInfo>& rows,
                                                    const std::wstring& caption) {
  std::vector<std::pair<int, std::wstring>> below;
  for (size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].caption != caption) continue;
    for (size_t j = i + 1; j < rows.size() && rows[j].level > rows[i].level; ++j) {
      below.emplace_back(rows[j].level - rows[i].level, rows[j].caption);
    }
    break;
  }
  return below;
}

// Writes a shell link through the shell's own link object.
bool MakeShellLink(const fs::path& link, const fs::path& target, const std::wstring& arguments,
                   const fs::path& folder) {
  IShellLinkW* shellLink = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&shellLink)))) {
    return false;
  }
  shellLink->SetPath(target.wstring().c_str());
  shellLink->SetArguments(arguments.c_str());
  shellLink->SetWorkingDirectory(folder.wstring().c_str());
  IPersistFile* file = nullptr;
  bool saved = false;
  if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    saved = SUCCEEDED(file->Save(link.wstring().c_str(), TRUE));
    file->Release();
  }
  shellLink->Release();
  return saved;
}

class DataBoxAndShortcuts : public e2e::ProgramTest {
 protected:
  void PrepareFolder() override {
    CoInitialize(nullptr);
    record_ = folder_ / "started.txt";
    const fs::path shortcuts = folder_ / L"程序快捷方式总集";
    fs::create_directories(shortcuts / L"工具");
    fs::create_directories(folder_ / L"工作目录");
    const fs::path target = e2e::ExeFolder().parent_path() / "tools" / "app_shortcut_target_win32.exe";
    const std::wstring args = L"\"" + record_.wstring() + L"\" 第一个 \"带 空格\"";
    ASSERT_TRUE(MakeShellLink(shortcuts / L"记录参数.lnk", target, args, folder_ / L"工作目录"));
    ASSERT_TRUE(MakeShellLink(shortcuts / L"工具" / L"A&B 工具.lnk", target, L"\"" + record_.wstring() + L"\" 工具",
                              folder_));
    ASSERT_TRUE(MakeShellLink(shortcuts / L"工具" / L"找不到.lnk", folder_ / L"没有这个程序.exe", L"", folder_));
    e2e::WriteFile(shortcuts / L"工具" / L"坏的.lnk", "not a shell link");
  }
  void TearDown() override {
    ProgramTest::TearDown();
    CoUninitialize();
  }
  bool AnswerBox(const std::wstring& text) {
    return e2e::WaitUntil([&] { return e2e::AnswerMessageBox(program_.ProcessId(), text, IDOK); }, 10s);
  }
  std::string Record() { return e2e::ReadFile(record_); }
  fs::path record_;
};

TEST_F(DataBoxAndShortcuts, MenusAreBuiltFromTheFoldersAtStart) {
  const std::vector<e2e::MenuRowInfo> rows = e2e::ReadMenuBar(main_);
  const std::vector<std::pair<int, std::wstring>> dataBox = {
      {1, L"常用语"}, {2, L"签名.txt"}, {2, L"-"}, {2, L"问候.txt"}, {2, L"-"},
      {1, L"-"},      {1, L"常用联系方式.txt"}, {1, L"-"}};
  EXPECT_EQ(RowsBelow(rows, kOpenMenu), dataBox);
  EXPECT_EQ(RowsBelow(rows, kEditMenu), dataBox);
  // A name with "&" shows as it is (doubled in the menu's own text, so it marks no accelerator).
  const std::vector<std::pair<int, std::wstring>> shortcuts = {
      {1, L"工具"}, {2, L"A&&B 工具"}, {2, L"-"}, {2, L"坏的"}, {2, L"-"}, {2, L"找不到"}, {2, L"-"},
      {1, L"-"},    {1, L"记录参数"},   {1, L"-"}};
  EXPECT_EQ(RowsBelow(rows, kShortcutMenu), shortcuts);
}

TEST_F(DataBoxAndShortcuts, DataBoxRowsLoadTheFileAsTheListOrOpenItInTheEditor) {
  // ANSI, then UTF-8: the rows are the file's entries.
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, std::wstring(kOpenMenu) + L"\n问候.txt"));
  EXPECT_TRUE(e2e::WaitUntil([&] {
    return e2e::ListRows(list_) == std::vector<std::wstring>{L"您好！", L"谢谢您的来信。", L"祝工作顺利！"};
  }, 10s));
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, std::wstring(kOpenMenu) + L"\n常用联系方式.txt"));
  EXPECT_TRUE(e2e::WaitUntil([&] {
    return e2e::ListRows(list_) ==
           std::vector<std::wstring>{L"姓名：张三", L"电话：010-12345678", L"邮箱：zhangsan@example.com"};
  }, 10s));

  // The edit rows open the file through the shell: the system editor is a recorder here.
  const fs::path opened = folder_ / "opened.txt";
  HKEY txt = nullptr;
  const bool madeAssociation =
      RegCreateKeyExW(HKEY_CLASSES_ROOT, L".txt", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &txt, nullptr) == ERROR_SUCCESS;
  wchar_t old[256] = {};
  DWORD size = sizeof old - sizeof(wchar_t);
  const bool hadClass = RegQueryValueExW(txt, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(old), &size) == ERROR_SUCCESS;
  RegSetValueExW(txt, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(L"txtfile"), sizeof L"txtfile");
  {
    e2e::SchemeRecorder editor(L"txtfile", opened);
    ASSERT_TRUE(e2e::ChooseMenuRow(main_, std::wstring(kEditMenu) + L"\n问候.txt"));
    EXPECT_TRUE(e2e::WaitUntil([&] { return fs::exists(opened) && !e2e::ReadFile(opened).empty(); }, 10s));
    EXPECT_NE(e2e::ReadFile(opened).find(e2e::Utf8(L"我的数据盒\\常用语\\问候.txt")), std::string::npos)
        << e2e::ReadFile(opened);
  }
  if (hadClass) RegSetValueExW(txt, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(old), size);
  else RegDeleteValueW(txt, nullptr);
  if (madeAssociation) RegCloseKey(txt);

  // A file deleted since the start is reported, in both menus.
  const fs::path greeting = folder_ / L"我的数据盒" / L"常用语" / L"问候.txt";
  fs::remove(greeting);
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, std::wstring(kOpenMenu) + L"\n问候.txt"));
  EXPECT_TRUE(AnswerBox(L"文件不存在  " + greeting.wstring()));
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, std::wstring(kEditMenu) + L"\n问候.txt"));
  EXPECT_TRUE(AnswerBox(L"文件不存在  " + greeting.wstring()));
  EXPECT_EQ(e2e::ListRows(list_).size(), 3u);
}

TEST_F(DataBoxAndShortcuts, ShortcutRowsStartTheLinkTargetsOrSayWhyNot) {
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, L"记录参数"));
  EXPECT_TRUE(e2e::WaitUntil([&] { return Record().find("cwd=") != std::string::npos; }, 15s));
  EXPECT_EQ(Record(), e2e::Utf8(L"第一个\n带 空格\ncwd=" + (folder_ / L"工作目录").wstring() + L"\n"));
  fs::remove(record_);
  // Through the sub-menu 工具, a name with "&".
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, L"工具\nA&&B 工具"));
  EXPECT_TRUE(e2e::WaitUntil([&] { return Record().find("cwd=") != std::string::npos; }, 15s));
  EXPECT_EQ(Record().substr(0, Record().find('\n')), e2e::Utf8(L"工具"));

  const fs::path tools = folder_ / L"程序快捷方式总集" / L"工具";
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, L"工具\n坏的"));
  EXPECT_TRUE(AnswerBox(L"无法解析快捷方式  " + (tools / L"坏的.lnk").wstring()));
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, L"工具\n找不到"));
  EXPECT_TRUE(AnswerBox(L"无法启动  " + (folder_ / L"没有这个程序.exe").wstring()));
  fs::remove(tools / L"A&B 工具.lnk");
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, L"工具\nA&&B 工具"));
  EXPECT_TRUE(AnswerBox(L"文件不存在  " + (tools / L"A&B 工具.lnk").wstring()));
}

// Without the data-box folder and with an empty shortcut folder: no rows, and the start
// completes (the list shows the exit record, the other menus are there).
class NoDataBox : public e2e::ProgramTest {
 protected:
  void PrepareFolder() override {
    fs::remove_all(folder_ / L"我的数据盒");
    fs::create_directories(folder_ / L"程序快捷方式总集");
  }
};

TEST_F(NoDataBox, GivesNoRowsAndACompleteStart) {
  const std::vector<e2e::MenuRowInfo> rows = e2e::ReadMenuBar(main_);
  EXPECT_TRUE(RowsBelow(rows, kOpenMenu).empty());
  EXPECT_TRUE(RowsBelow(rows, kEditMenu).empty());
  EXPECT_TRUE(RowsBelow(rows, kShortcutMenu).empty());
  EXPECT_NE(e2e::FindMenuRow(rows, L"固定条目（收藏夹）"), nullptr);
  Copy(L"启动完成后的复制");
}

}  // namespace
