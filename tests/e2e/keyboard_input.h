// Keys pressed as a user presses them (SendInput from the test process), and the "set" file
// of a runtime folder changed line by line before the program starts.
#pragma once

#include <windows.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "program_driver.h"

namespace e2e {

struct KeyStroke {
  WORD vk;
  bool up;
};

inline void PressKeys(const std::vector<KeyStroke>& strokes) {
  std::vector<INPUT> inputs;
  for (const KeyStroke& s : strokes) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = s.vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(s.vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = s.up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(in);
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

inline void Tap(WORD vk) { PressKeys({{vk, false}, {vk, true}}); }

// Replaces lines of the folder's "set" (line numbers from 1) and writes it back.
inline void ChangeSettingsLines(const std::filesystem::path& folder, const std::map<int, std::string>& lines) {
  const std::string text = ReadFile(folder / "set");
  std::vector<std::string> rows;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    rows.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  for (const auto& [line, value] : lines) {
    if (line >= 1 && static_cast<size_t>(line) <= rows.size()) rows[static_cast<size_t>(line - 1)] = value;
  }
  std::string out;
  for (const std::string& row : rows) out += row + "\r\n";
  WriteFile(folder / "set", out);
}

}  // namespace e2e
