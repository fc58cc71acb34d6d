// The encryption commands driven as a user works: texts copied by another program, the
// password typed into the dialogs, the list saved, the program restarted, the list opened and
// decrypted; and every way the commands refuse, each leaving the list as it was.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "cipher/des.h"
#include "clipboard_driver.h"
#include "input_dialog_driver.h"
#include "program_driver.h"

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

using Rows = std::vector<std::wstring>;

const std::wstring kEncryptRow = L"加密当前文件";
const std::wstring kDecryptRow = L"解密当前文件";
const std::wstring kEncryptCaption = L"设置文件加密的密码";
const std::wstring kRepeatCaption = L"重复输入刚才的密码";
const std::wstring kDecryptCaption = L"文件解密的密码";
const std::wstring kAllFormats = L"支持带格式的文本（word、htm文本）";

std::string Gbk(const std::wstring& text) {
  const int need = WideCharToMultiByte(936, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(need), '\0');
  WideCharToMultiByte(936, 0, text.data(), static_cast<int>(text.size()), out.data(), need, nullptr, nullptr);
  return out;
}

// What the command must make of a text: the cipher library's Base64 text of its code page 936
// bytes, keyed by the trimmed password.
std::wstring Encrypted(const std::wstring& text, const std::wstring& password) {
  cipher::TCph_3des c;
  c.InitStr(Gbk(password));
  const std::string base64 = c.EncryptString(Gbk(text));
  return std::wstring(base64.begin(), base64.end());
}

Rows EncryptedRows(const Rows& texts, const std::wstring& password) {
  Rows rows;
  for (const std::wstring& t : texts) rows.push_back(Encrypted(t, password));
  return rows;
}

class Encryption : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = e2e::PrepareRuntimeFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    e2e::WriteFile(folder_ / "temp.txt", "");  // the list starts empty
  }
  void TearDown() override {
    if (program_ && main_ && IsWindow(main_)) {
      PostMessageW(main_, WM_CLOSE, 0, 0);
      // A decryption makes the close ask whether to keep the exit record: not here.
      if (HWND box = e2e::WaitForMessageBox(program_->ProcessId(), L"你已经使用过解密功能", 3s)) {
        PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
      }
      program_->WaitForExit(30s);
    }
  }
  // Starts the program and waits for the rows of the exit record.
  void Start(const Rows& exitRecord = {}) {
    program_ = std::make_unique<e2e::RunningProgram>();
    ASSERT_TRUE(program_->Start(folder_));
    main_ = program_->WaitForMainWindow();
    ASSERT_NE(main_, nullptr);
    list_ = e2e::FindHistoryList(main_);
    ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::ListRows(list_) == exitRecord; }, 10s));
  }
  DWORD Pid() const { return program_->ProcessId(); }
  void Copy(const std::wstring& text) {
    const int before = static_cast<int>(e2e::ListRows(list_).size());
    ASSERT_TRUE(e2e::SetClipboardText(text));
    ASSERT_TRUE(e2e::WaitForRowCount(list_, before + 1));
  }
  // Chooses a menu row and answers the dialog it opens; false when no such dialog showed.
  bool Answer(const std::wstring& caption, const std::wstring& typed, bool ok = true) {
    HWND dialog = e2e::WaitForInputDialog(Pid(), caption);
    return dialog && e2e::AnswerInputDialog(dialog, typed, ok);
  }
  // Waits for the message box, checks its caption, and presses OK.
  void ExpectError(const std::wstring& text) {
    HWND box = e2e::WaitForMessageBox(Pid(), text);
    ASSERT_NE(box, nullptr) << "no message box";
    EXPECT_EQ(e2e::WindowText(box), L"出错");
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(e2e::WaitUntil([&] { return !IsWindow(box); }, 10s));
  }
  void ExpectRows(const Rows& rows) {
    EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::ListRows(list_) == rows; }, 20s));
    EXPECT_EQ(e2e::ListRows(list_), rows);
  }
  void SaveThroughDialog(const std::wstring& row, const fs::path& file, int filterIndex = 0) {
    ASSERT_TRUE(e2e::ChooseMenuRow(main_, row));
    ASSERT_TRUE(e2e::FillFileDialog(Pid(), file.wstring(), filterIndex));
    ASSERT_TRUE(e2e::WaitUntil([&] { return fs::exists(file); }, 10s));
  }
  bool Checked(const std::wstring& caption) {
    const auto rows = e2e::ReadMenuBar(main_);
    const e2e::MenuRowInfo* row = e2e::FindMenuRow(rows, caption);
    return row && row->checked;
  }

  fs::path folder_;
  std::unique_ptr<e2e::RunningProgram> program_;
  HWND main_ = nullptr;
  HWND list_ = nullptr;
};

TEST_F(Encryption, EncryptSaveRestartOpenAndDecrypt) {
  const Rows texts = {L"plain ascii text", L"中文文本，带标点。", L"第一行\r\n第二行\r\n第三行", L"plain ascii text"};
  Start();
  ASSERT_TRUE(Checked(kAllFormats));  // clicks put the whole snapshot on the clipboard
  // The first text comes with a second format, which a click on its row puts back.
  const std::string unicodeBytes(reinterpret_cast<const char*>(texts[0].c_str()), (texts[0].size() + 1) * 2);
  ASSERT_TRUE(e2e::SetClipboardFormats({{CF_UNICODETEXT, L"", unicodeBytes}, {0, L"HTML Format", "<b>html</b>"}}));
  ASSERT_TRUE(e2e::WaitForRowCount(list_, 1));
  for (size_t i = 1; i < texts.size(); ++i) Copy(texts[i]);
  e2e::ClickListRow(list_, 0);
  ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::ReadClipboardText() == texts[0]; }, 10s));
  ASSERT_TRUE(e2e::ReadClipboardFormat(e2e::RegisteredFormat(L"HTML Format")).has_value());

  ASSERT_TRUE(e2e::ChooseMenuRow(main_, kEncryptRow));
  HWND first = e2e::WaitForInputDialog(Pid(), kEncryptCaption);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(e2e::InputDialogPrompt(first), L"请输入密码（必须），可用中文，长度不限，区分大小写");
  ASSERT_TRUE(e2e::AnswerInputDialog(first, L"  秘密 Pass  "));
  HWND second = e2e::WaitForInputDialog(Pid(), kRepeatCaption);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(e2e::InputDialogPrompt(second), L"请再次输入刚才的密码____");
  ASSERT_TRUE(e2e::AnswerInputDialog(second, L"秘密 Pass "));
  const Rows encrypted = EncryptedRows(texts, L"秘密 Pass");
  ExpectRows(encrypted);
  EXPECT_EQ(encrypted[0], encrypted[3]);

  // A click puts the encrypted text on the clipboard, not the snapshot taken at the copy.
  e2e::ClickListRow(list_, 0);
  ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::ReadClipboardText() == encrypted[0]; }, 10s));
  EXPECT_FALSE(e2e::ReadClipboardFormat(e2e::RegisteredFormat(L"HTML Format")).has_value());

  const fs::path ansi = folder_ / L"保存" / L"加密列表.txt", utf8 = folder_ / L"保存" / L"加密列表-utf8.txt";
  SaveThroughDialog(L"另存为...", ansi, 1);
  SaveThroughDialog(L"保存为 多语言utf-8格式文本", utf8);
  std::string lines;
  for (const std::wstring& row : encrypted) lines += e2e::Utf8(row) + "\r\n";
  EXPECT_EQ(e2e::ReadFile(ansi), lines);
  EXPECT_EQ(e2e::ReadFile(utf8), "\xEF\xBB\xBF" + lines);

  // Closing without a decryption asks nothing.
  PostMessageW(main_, WM_CLOSE, 0, 0);
  ASSERT_TRUE(program_->WaitForExit(30s));
  const std::string exitRecord = e2e::ReadFile(folder_ / "temp.txt");

  Start(encrypted);
  for (const fs::path& file : {ansi, utf8}) {
    ASSERT_TRUE(e2e::ChooseMenuRow(main_, L"打开并导入"));
    ASSERT_TRUE(e2e::FillFileDialog(Pid(), file.wstring()));
    ExpectRows(encrypted);
    ASSERT_TRUE(e2e::ChooseMenuRow(main_, kDecryptRow));
    HWND dialog = e2e::WaitForInputDialog(Pid(), kDecryptCaption);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(e2e::InputDialogPrompt(dialog),
              L"请输入密码（必须），可用中文，长度不限，区分大小写，如果密码错误，解密后的文件将是一堆乱码");
    ASSERT_TRUE(e2e::AnswerInputDialog(dialog, L"秘密 Pass"));
    ExpectRows(texts);
  }

  // After a decryption the close asks before it writes the exit record; Cancel keeps the old one.
  PostMessageW(main_, WM_CLOSE, 0, 0);
  HWND question = e2e::WaitForMessageBox(Pid(), L"你已经使用过解密功能，为了你的数据安全，防止泄密");
  ASSERT_NE(question, nullptr);
  EXPECT_EQ(e2e::WindowText(question), L"退出记录保存选择");
  PostMessageW(question, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(program_->WaitForExit(30s));
  EXPECT_EQ(e2e::ReadFile(folder_ / "temp.txt"), exitRecord);
}

TEST_F(Encryption, EveryRefusalLeavesTheListAsItWas) {
  Start();
  // An empty list: the command asks nothing.
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, kEncryptRow));
  ASSERT_EQ(e2e::WaitForInputDialog(Pid(), kEncryptCaption, 1500ms), nullptr);

  const Rows texts = {L"第一条", L"second"};
  for (const std::wstring& t : texts) Copy(t);
  auto encrypt = [&](const std::wstring& password, const std::wstring& repeated) {
    ASSERT_TRUE(e2e::ChooseMenuRow(main_, kEncryptRow));
    ASSERT_TRUE(Answer(kEncryptCaption, password));
    ASSERT_TRUE(Answer(kRepeatCaption, repeated));
  };

  // Cancel, or blanks only, in either dialog.
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, kEncryptRow));
  ASSERT_TRUE(Answer(kEncryptCaption, L"abc", false));
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, kEncryptRow));
  ASSERT_TRUE(Answer(kEncryptCaption, L"   "));
  ASSERT_EQ(e2e::WaitForInputDialog(Pid(), kRepeatCaption, 1000ms), nullptr);
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, kEncryptRow));
  ASSERT_TRUE(Answer(kEncryptCaption, L"abc"));
  ASSERT_TRUE(Answer(kRepeatCaption, L"abc", false));
  encrypt(L"abc", L" ");
  encrypt(L"abc", L" \u3000 ");  // an ideographic blank is a character of the password
  ExpectError(L"两次输入的密码不相同，请重新输入");
  encrypt(L"密码😀", L"密码😀");
  ExpectError(L"密码含有GBK编码无法表示的字符，请换一个密码");
  ExpectRows(texts);

  // A text the code page cannot hold would be lost: the whole list stays as it is.
  Copy(L"smile 😀");
  encrypt(L"abc", L"abc");
  ExpectError(L"第 3 条文本含有GBK编码无法表示的字符，加密后无法还原，已取消加密");
  ExpectRows({L"第一条", L"second", L"smile 😀"});
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, L"单项删除"));  // the new row is selected
  ExpectRows(texts);

  // Decrypting a list that was never encrypted.
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, kDecryptRow));
  ASSERT_TRUE(Answer(kDecryptCaption, L"abc"));
  ExpectError(L"密码错误，或第 1 条不是用此密码加密的文本，列表未改变");
  ExpectRows(texts);
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, kDecryptRow));
  ASSERT_TRUE(Answer(kDecryptCaption, L"abc", false));
  ExpectRows(texts);

  // Encrypted, then a wrong password: the rows stay encrypted.
  encrypt(L"abc", L"abc");
  const Rows encrypted = EncryptedRows(texts, L"abc");
  ExpectRows(encrypted);
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, kDecryptRow));
  ASSERT_TRUE(Answer(kDecryptCaption, L"ABC"));
  ExpectError(L"列表未改变");
  ExpectRows(encrypted);

  // No decryption took place: the close asks nothing and saves the exit record.
  PostMessageW(main_, WM_CLOSE, 0, 0);
  ASSERT_TRUE(program_->WaitForExit(30s));
  std::string lines = "\xEF\xBB\xBF";
  for (const std::wstring& row : encrypted) lines += e2e::Utf8(row) + "\r\n";
  EXPECT_EQ(e2e::ReadFile(folder_ / "temp.txt"), lines);
}

TEST_F(Encryption, ALongListKeepsItsCheckMarksSelectionAndPlace) {
  // Enough rows that the list is refilled in one pass rather than row by row.
  Rows texts;
  std::string record = "\xEF\xBB\xBF";
  for (int i = 0; i < 300; ++i) {
    texts.push_back(L"条目 " + std::to_wstring(i));
    record += e2e::Utf8(texts.back()) + "\r\n";
  }
  e2e::WriteFile(folder_ / "temp.txt", record);
  Start(texts);
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, L"全部选择"));
  e2e::ClickListRow(list_, 200);
  const LRESULT top = SendMessageW(list_, LB_GETTOPINDEX, 0, 0);
  ASSERT_EQ(e2e::SelectedListRow(list_), 200);

  ASSERT_TRUE(e2e::ChooseMenuRow(main_, kEncryptRow));
  ASSERT_TRUE(Answer(kEncryptCaption, L"pw"));
  ASSERT_TRUE(Answer(kRepeatCaption, L"pw"));
  ExpectRows(EncryptedRows(texts, L"pw"));
  EXPECT_EQ(e2e::SelectedListRow(list_), 200);
  EXPECT_EQ(SendMessageW(list_, LB_GETTOPINDEX, 0, 0), top);
  // Every row still shows its check: the space key unchecks the selected row, and deleting the
  // unchecked rows deletes that one alone.
  PostMessageW(list_, WM_CHAR, L' ', 1);
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, L"部分删除_保留勾"));
  ASSERT_TRUE(e2e::WaitForRowCount(list_, 299));
  EXPECT_EQ(e2e::ListRows(list_)[200], Encrypted(texts[201], L"pw"));
}

}  // namespace
