// How long the encryption commands take on a full list: starts Quillora.exe with an exit
// record of 100000 entries (mixed Chinese and ASCII, 10 to 120 characters), encrypts them
// through the menu and the password dialogs, then decrypts them, and prints the time from the
// last dialog's OK until the program answers again, with the rows checked against the cipher
// library.
//   encryption_win32
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "cipher/des.h"
#include "clipboard_driver.h"
#include "input_dialog_driver.h"
#include "program_driver.h"

namespace {

using namespace std::chrono_literals;

std::string Gbk(const std::wstring& text) {
  const int need = WideCharToMultiByte(936, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(need), '\0');
  WideCharToMultiByte(936, 0, text.data(), static_cast<int>(text.size()), out.data(), need, nullptr, nullptr);
  return out;
}

std::wstring RowText(HWND list, int row) {
  const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, row, 0);
  if (length == LB_ERR) return L"(no row)";
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  SendMessageW(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return text;
}

// Answers the dialogs with the password; returns the seconds from the last OK until the
// program handles messages again.
double RunCommand(DWORD pid, HWND main, const std::wstring& row, const std::vector<std::wstring>& captions,
                  const std::wstring& password) {
  if (!e2e::ChooseMenuRow(main, row)) return -1;
  LARGE_INTEGER start{}, end{}, frequency{};
  for (size_t i = 0; i < captions.size(); ++i) {
    HWND dialog = e2e::WaitForInputDialog(pid, captions[i]);
    if (!dialog) return -1;
    HWND edit = FindWindowExW(dialog, nullptr, L"Edit", nullptr);
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(password.c_str()));
    QueryPerformanceCounter(&start);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    if (!e2e::WaitUntil([&] { return !IsWindow(dialog); }, 20s)) return -1;
  }
  // The command runs inside the handler that showed the dialog: the program answers again when it ends.
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 600000, &answer)) return -1;
  QueryPerformanceCounter(&end);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main() {
  constexpr int kEntries = 100000;
  std::mt19937 rng(42);
  const std::wstring ascii = L"The quick brown fox jumps over the lazy dog 0123456789 ,.;";
  std::vector<std::wstring> entries;
  std::string record = "\xEF\xBB\xBF";
  for (int i = 0; i < kEntries; ++i) {
    std::wstring entry = std::to_wstring(i) + L" ";
    const int length = 10 + static_cast<int>(rng() % 111);
    while (static_cast<int>(entry.size()) < length) {
      entry += rng() % 5 == 0 ? static_cast<wchar_t>(0x4E00 + rng() % 20902) : ascii[rng() % ascii.size()];
    }
    record += e2e::Utf8(entry) + "\r\n";
    entries.push_back(std::move(entry));
  }
  const auto folder = e2e::PrepareRuntimeFolder("encryption-bench");
  e2e::WriteFile(folder / "temp.txt", record);

  e2e::RunningProgram program;
  if (!program.Start(folder)) {
    std::fprintf(stderr, "Quillora.exe did not start\n");
    return 1;
  }
  const HWND main = program.WaitForMainWindow();
  const HWND list = main ? e2e::FindHistoryList(main) : nullptr;
  if (!list || !e2e::WaitUntil([&] { return SendMessageW(list, LB_GETCOUNT, 0, 0) == kEntries; }, 120s)) {
    std::fprintf(stderr, "the list of %d entries did not load\n", kEntries);
    return 1;
  }

  const std::wstring password = L"口令 password";
  const double encrypt = RunCommand(program.ProcessId(), main, L"加密当前文件",
                                    {L"设置文件加密的密码", L"重复输入刚才的密码"}, password);
  cipher::TCph_3des c;
  c.InitStr(Gbk(password));
  bool right = SendMessageW(list, LB_GETCOUNT, 0, 0) == kEntries;
  for (int row : {0, kEntries / 2, kEntries - 1}) {
    c.Reset();
    const std::string expected = c.EncryptString(Gbk(entries[row]));
    right = right && RowText(list, row) == std::wstring(expected.begin(), expected.end()).substr(0, 150);
  }
  const double decrypt = RunCommand(program.ProcessId(), main, L"解密当前文件", {L"文件解密的密码"}, password);
  for (int row : {0, kEntries / 2, kEntries - 1}) right = right && RowText(list, row) == entries[row].substr(0, 150);

  PostMessageW(main, WM_CLOSE, 0, 0);
  if (HWND box = e2e::WaitForMessageBox(program.ProcessId(), L"你已经使用过解密功能", 10s)) {
    PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
  }
  program.WaitForExit(60s);
  std::printf("%d entries: encrypted in %.2f s, decrypted in %.2f s; rows %s\n", kEntries, encrypt, decrypt,
              right ? "as expected" : "NOT as expected");
  return right && encrypt > 0 && decrypt > 0 ? 0 : 1;
}
