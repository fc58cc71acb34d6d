#include "app/databox/menu_plan.h"

#include <algorithm>
#include <set>

#include "app/databox/folder_listing.h"

namespace app {

namespace {

// Upper case as NTFS's table has it for the letters of Latin-1, Greek and Cyrillic; other
// characters (Chinese among them) compare as they are.
char16_t Upper(char16_t c) {
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 32);
  if ((c >= 0xE0 && c <= 0xFE && c != 0xF7) || (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) ||
      (c >= 0x430 && c <= 0x44F)) {
    return static_cast<char16_t>(c - 32);
  }
  if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 80);
  return c;
}

std::u16string FileCaption(const std::u16string& name, MenuFileKind kind) {
  return kind == MenuFileKind::Shortcut ? name.substr(0, name.size() - 4) : name;
}

std::u16string_view ExtensionOf(MenuFileKind kind) { return kind == MenuFileKind::Shortcut ? u".lnk" : u".txt"; }

std::vector<FolderEntry> SortedEntries(const std::u16string& folder) {
  std::vector<FolderEntry> entries = ListFolder(folder);
  std::sort(entries.begin(), entries.end(),
            [](const FolderEntry& a, const FolderEntry& b) { return NtfsNameLess(a.name, b.name); });
  return entries;
}

void AppendFileRows(const std::u16string& folder, const std::vector<FolderEntry>& entries, MenuFileKind kind,
                    std::vector<MenuPlanRow>& rows) {
  for (const FolderEntry& entry : entries) {
    if (entry.folder || !HasExtension(entry.name, ExtensionOf(kind))) continue;
    rows.push_back({MenuPlanRow::Kind::File, FileCaption(entry.name, kind), JoinPath(folder, entry.name), {}});
    rows.push_back({});
  }
}

struct Walk {
  MenuFileKind kind;
  std::set<std::u16string> entered;

  // The folder's rows: its sub-folders (the last found first), then its files.
  std::vector<MenuPlanRow> FolderRows(const std::u16string& folder, const std::vector<FolderEntry>& entries,
                                      int depth) {
    std::vector<MenuPlanRow> rows;
    if (depth < kMaxMenuFolderDepth) {
      for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        if (!it->folder) continue;
        const std::u16string path = JoinPath(folder, it->name);
        const std::u16string identity = FolderIdentity(path);
        if (identity.empty() || !entered.insert(identity).second) continue;
        const std::vector<FolderEntry> inner = SortedEntries(path);
        MenuPlanRow sub{MenuPlanRow::Kind::Folder, it->name, path, {}};
        sub.children = FolderRows(path, inner, depth + 1);
        AppendFileRows(path, inner, kind, sub.children);
        rows.push_back(std::move(sub));
        rows.push_back({});
      }
    }
    return rows;
  }
};

}  // namespace

bool NtfsNameLess(std::u16string_view a, std::u16string_view b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const char16_t x = Upper(a[i]), y = Upper(b[i]);
    if (x != y) return x < y;
  }
  return a.size() < b.size();
}

bool HasExtension(std::u16string_view name, std::u16string_view extension) {
  if (name.size() < extension.size()) return false;
  const std::u16string_view tail = name.substr(name.size() - extension.size());
  for (size_t i = 0; i < tail.size(); ++i) {
    if (Upper(tail[i]) != Upper(extension[i])) return false;
  }
  return true;
}

std::vector<MenuPlanRow> PlanFolderRows(const std::u16string& folder, MenuFileKind kind) {
  Walk walk{kind, {}};
  const std::u16string identity = FolderIdentity(folder);
  if (identity.empty()) return {};
  walk.entered.insert(identity);
  return walk.FolderRows(folder, SortedEntries(folder), 0);
}

std::vector<MenuPlanRow> PlanFileRows(const std::u16string& folder, MenuFileKind kind) {
  std::vector<MenuPlanRow> rows;
  AppendFileRows(folder, SortedEntries(folder), kind, rows);
  return rows;
}

}  // namespace app
