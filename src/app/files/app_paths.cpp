#include "app/files/app_paths.h"

namespace app {

AppPaths MakeAppPaths(std::u16string baseDir) {
  // The current folder ends in a backslash only at a drive's root ("C:\"): every path
  // below adds its own.
  if (!baseDir.empty() && (baseDir.back() == u'\\' || baseDir.back() == u'/')) baseDir.pop_back();
  AppPaths p;
  p.BaseDir = baseDir;
  p.SoundDir = baseDir + u"\\音效";
  p.AutoSaveFile = baseDir + u"\\自动保存.txt";
  p.ExitDatabaseFile = baseDir + u"\\退出记录数据库.mdb";
  p.ShortcutDir = baseDir + u"\\" + u"程序快捷方式总集";
  p.DataBoxDir = baseDir + u"\\我的数据盒";
  p.TrayIconFile = baseDir + u"\\图标\\系统托盘主图标.ico";
  p.ExitRecordFile = baseDir + u"\\temp.txt";
  p.HookLibraryFile = baseDir + u"\\" + u"SysHookDLL.dll";
  p.HookLibrarySpare = baseDir + u"\\" + u"copy_Key.dll";
  p.HelpDir = baseDir + u"\\帮助";
  const std::u16string samples = baseDir + u"\\样例表格\\";
  p.SampleTableFiles = {samples + u"样例表格1_春花烂漫.txt", samples + u"样例表格2_夏日炎炎.txt",
                        samples + u"样例表格3_秋风习习.txt", samples + u"样例表格4_冬暖夏凉.txt",
                        samples + u"样例表格5之文件夹.txt",  samples + u"样例表格6之网络地址.txt"};
  p.SampleTableRenames = {{{samples + u"样例表格1_春兰.txt", samples + u"样例表格1_春花烂漫.txt"},
                           {samples + u"样例表格2_夏竹.txt", samples + u"样例表格2_夏日炎炎.txt"},
                           {samples + u"样例表格3_秋菊.txt", samples + u"样例表格3_秋风习习.txt"},
                           {samples + u"样例表格4_冬梅.txt", samples + u"样例表格4_冬暖夏凉.txt"}}};
  return p;
}

}  // namespace app
