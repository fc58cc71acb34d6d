// The file variables of the list readers and writers, with their start values. The history
// model owns them (its commands empty them); the list-file commands read and set them.
#pragma once

#include <string>

namespace app {

struct ListFileNames {
  std::u16string CurrentListFile;          // the file last opened (the kind test's file)
  std::u16string SaveListFile = u"c:\\";   // the file the writers write
  std::u16string AttachedListFile;         // the file the rows belong to
  std::u16string SingleEntryFile;          // target of a single-entry save

  // A reader took the file: the rows now belong to it.
  void AfterRead() {
    AttachedListFile = CurrentListFile;
    SaveListFile = CurrentListFile;
  }
};

}  // namespace app
