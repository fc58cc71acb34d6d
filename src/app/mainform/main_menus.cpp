#include "app/mainform/main_menus.h"

namespace app {
namespace {

using gui::MenuRowSpec;

constexpr unsigned kSub = gui::kMenuSubmenu;
constexpr unsigned kSwitch = gui::kMenuCheckable;
constexpr unsigned kSwitchOn = gui::kMenuCheckable | gui::kMenuChecked;
// Switches that buttons share: the handler flips the mark of the row and of the button.
constexpr unsigned kOwnSwitch = gui::kMenuHandlerChecks;
constexpr unsigned kOwnSwitchOn = gui::kMenuHandlerChecks | gui::kMenuChecked;
constexpr unsigned kRadio = gui::kMenuRadio;
constexpr unsigned kRadioOn = gui::kMenuRadio | gui::kMenuChecked;

constexpr MenuRowSpec Separator(int level) { return {level, u"", u"-", u""}; }

constexpr MenuRowSpec kMainMenu1[] = {
    // File: open, import, save.
    {0, u"menu_wenjian", u"  文件  ", u"", kSub},
    {1, u"menuopen", u"打开并导入", u"menuopenClick"},
    {1, u"Unicode1", u"打开并导入 多语言Unicode和utf-8格式文本", u"Unicode1Click"},
    {1, u"daorusujuku", u"打开并导入 数据库 （支持word、htm 带格式文本）", u"daorusujukuClick"},
    {1, u"EXCEL1", u"导入 EXCEL 表格", u"EXCEL1Click"},
    Separator(1),
    // lastjianClick finds a recent file at its place in this sub-menu minus the three fixed rows.
    {1, u"menuzuijinwenjian", u"最近打开过的文件  ", u"", kSub},
    {2, u"qinkonglisiwen", u"清空历史文件", u"qinkonglisiwenClick"},
    Separator(2),
    {2, u"menujianqielisi", u"本次剪切板历史文本总集", u"menujianqielisiClick"},
    {1, u"menudakaisujuhe", u"打开  我的数据盒>>>", u"", kSub},
    {1, u"menu_dakaiyangli", u"打开  样例表格", u"", kSub},
    {2, u"mu_dakaiyangli", u"打开  样例表格1_春花烂漫", u"mu_dakaiyangliClick"},
    {2, u"N210", u"打开  样例表格2_夏日炎炎", u"N210Click"},
    {2, u"N310", u"打开  样例表格3_秋风习习", u"N310Click"},
    {2, u"N410", u"打开  样例表格4_冬暖夏凉", u"N410Click"},
    {2, u"menudakaiwenjianjia", u"打开  样例表格5之文件夹", u"menudakaiwenjianjiaClick"},
    {2, u"menuopen3", u"打开  样例表格6之网络地址", u"menuopen3Click"},
    Separator(1),
    {1, u"daorutemp", u"导入上次退出保存记录", u"daorutempClick"},
    {1, u"daoruzidong", u"导入  [自动保存文件]", u"daoruzidongClick"},
    {1, u"genxinzairu", u"更新(重载) 列表框中文件", u"genxinzairuClick"},
    Separator(1),
    {1, u"menusave", u"保存", u"menusaveClick"},
    {1, u"menulincun", u"另存为...", u"menulincunClick"},
    {1, u"N142", u"保存为 多语言utf-8格式文本", u"N142Click"},
    {1, u"baocunweisujuku", u"保存为 数据库 （支持word、htm 带格式文本）", u"baocunweisujukuClick"},
    {1, u"N234", u"单项文本另存为。。。", u"N234Click"},
    {1, u"me", u"保存到  [自动保存文件]", u"meClick"},
    Separator(1),
    {1, u"xiansiwenjianmin", u"显示 当前文件名+路径", u"xiansiwenjianminClick"},

    // Edit: the entries of the list.
    {0, u"menu_bianji", u"  编辑  ", u"", kSub},
    {1, u"menu_paixu", u"排序", u"", kSub},
    {2, u"sangyige", u"上一个", u"sangyigeClick"},
    {2, u"xiayige", u"下一个", u"xiayigeClick"},
    {2, u"dinbu", u"顶", u"dinbuClick"},
    {2, u"dibu", u"底 ", u"dibuClick"},
    Separator(2),
    {2, u"N229", u"倒序排列", u"N229Click"},
    {2, u"N42", u"自动排序", u"N42Click"},
    {1, u"N178", u"查找", u"N178Click"},
    Separator(1),
    {1, u"mu_quanze", u"全部选择", u"mu_quanzeClick"},
    {1, u"mu_fanze", u"反向选择", u"mu_fanzeClick"},
    {1, u"N55", u"全部不选", u"N55Click"},
    Separator(1),
    {1, u"N28", u"单项删除", u"N28Click"},
    {1, u"N27", u"部分删除_保留勾", u"N27Click"},
    {1, u"qinkongliebiao", u"全部删除（清空列表框）", u"qinkongliebiaoClick"},
    Separator(1),
    {1, u"N236", u"左侧打钩的所有选项合并为一条文本", u"N236Click"},
    {1, u"entertab1", u"所有跳格符（tab）替换为换行符（enter）", u"entertab1Click"},
    {1, u"tabenter1", u"所有换行符（enter）替换为跳格符（tab）", u"tabenter1Click"},
    {1, u"N164", u"清除数据中字符 $A1$A1", u"N164Click"},
    {1, u"N105", u"单词字数统计", u"N105Click"},
    {1, u"menu_jiamijiemi", u"加密/解密", u"", kSub},
    {2, u"jiami", u"加密当前文件", u"jiamiClick"},
    {2, u"jiemi", u"解密当前文件", u"jiemiClick"},
    Separator(1),
    {1, u"N53", u"清除最后一条记录记忆", u"N53Click"},
    {1, u"N74", u"计算记录总数", u"N74Click"},
    Separator(1),
    {1, u"menu_bianjiwenben", u"编辑 文本文件", u"", kSub},
    {2, u"bianjidangqian", u"编辑 当前列表框文件", u"bianjidangqianClick"},
    {2, u"menuqita", u"编辑其他文本文件", u"menuqitaClick"},
    Separator(2),
    {2, u"menubiao1", u"编辑 样例表格1_春花烂漫", u"menubiao1Click"},
    {2, u"N211", u"编辑 样例表格2_夏日炎炎", u"N211Click"},
    {2, u"N311", u"编辑 样例表格3_秋风习习", u"N311Click"},
    {2, u"N100", u"编辑 样例表格4_冬暖夏凉", u"N100Click"},
    {2, u"menubiao2", u"编辑 样例表格5之文件夹", u"menubiao2Click"},
    {2, u"menubiao3", u"编辑 样例表格6之网络地址", u"menubiao3Click"},
    Separator(2),
    {2, u"menuzibao", u"编制 自动保存文件", u"menuzibaoClick"},
    {2, u"temp1", u"编制 临时temp文件（退出后自动保存的）", u"temp1Click"},
    {2, u"N115", u"编辑 固定条目文件", u"N115Click"},
    {1, u"bianjiwosu", u"编辑 我的数据盒>>", u"", kSub},

    // Fixed entries (favourites).
    {0, u"menu_gudin", u"  固定条目  ", u"", kSub},
    {1, u"gudintiaomu", u"固定条目（收藏夹）", u"", kSub},
    Separator(1),
    {1, u"gudindiaoruliebiaokuang", u"调入文件到列表框", u"gudindiaoruliebiaokuangClick"},
    {1, u"suaxingudin", u"刷新（重调入） 固定条目菜单", u"suaxingudinClick"},
    {1, u"bianjigudin", u"编辑文件", u"bianjigudinClick"},
    Separator(1),
    {1, u"kaiqigudinkuaijie", u"开启固定条目快捷键（Alt+1~9）", u"kaiqigudinkuaijieClick", kSwitch},
    Separator(1),
    {1, u"N133", u"△△△ 什么是固定条目（收藏夹）", u"N133Click"},

    // Continuous paste and copy. The options dialog rewrites the three captions that
    // show the paste key, the step and the jump key.
    {0, u"menu_lianxv", u"  连续粘贴  ", u"", kSub},
    {1, u"lianxvniantie", u"开启 [ 连续粘贴 ]（默认F9） ★★★", u"lianxvniantieClick", kSwitch},
    {1, u"lianxvfuzi", u"开启 连续复制（默认F9） ●●●", u"lianxvfuziClick", kSwitch},
    Separator(1),
    {1, u"menurejiandinyi", u"热键定义为 ", u"menurejiandinyiClick"},
    {1, u"xiayistep", u"连续粘贴时，数据每次下移 1 条。。。", u"menurejiandinyiClick"},
    {1, u"menutiaogeseziwei", u"跳格键设置为： ", u"menutiaogeseziweiClick"},
    {1, u"zidongtiaodao", u"连续粘贴时，自动跳到下一窗格", u"zidongtiaodaoClick", kSwitch},
    Separator(1),
    {1, u"xunhuanniantie", u"循环粘贴有效", u"xunhuanniantieClick", kSwitch},
    {1, u"xunhuanfasen", u"循环时（跳回到第一行时）发声", u"xunhuanfasenClick", kSwitch},
    Separator(1),
    {1, u"N78", u"连续粘贴设置选项", u"N78Click"},
    {1, u"N71", u"连续复制设置选项。。。", u"N71Click"},
    Separator(1),
    {1, u"N61", u"★★★ 什么是连续粘贴", u"N61Click"},
    {1, u"N75", u"●●● 什么是连续复制", u"N75Click"},

    // Settings. Some switches are only read by other commands; their handlers have nothing to add.
    {0, u"menu_shezhi", u"  设置  ", u"", kSub},
    {1, u"menuyouxiao", u"(剪切板监视有效)", u"menuyouxiaoClick", kOwnSwitchOn},
    {1, u"dakai", u"(打开文件夹有效)", u"dakaiClick", kOwnSwitch},
    // Checked in the design: the window's creation inverts both, so they start unchecked.
    {1, u"menuinter", u"(打开网络地址有效)", u"menuinterClick", kOwnSwitchOn},
    {1, u"menutop", u"(窗口保持最前面)", u"menutopClick", kOwnSwitch},
    {1, u"menutianbiao", u"填表模式切换", u"menutianbiaoClick", kOwnSwitchOn},
    Separator(1),
    {1, u"bujilucongfu", u"不记录最后一条重复的数据", u"bujilucongfuClick", kSwitchOn},
    {1, u"ziciwordhtm", u"支持带格式的文本（word、htm文本）", u"ziciwordhtmClick", kSwitchOn},
    {1, u"zidongniantie", u"双击条目后自动粘贴", u"zidongniantieClick", kSwitch},
    {1, u"danjihoucuxiantisi", u"单击条目后出现文本提示框", u"danjihoucuxiantisiClick", kSwitchOn},
    {1, u"zisexvkuang", u"鼠标移动出现紫色虚框", u"zisexvkuangClick", kSwitchOn},
    Separator(1),
    {1, u"diaoyongkuaisu", u"调用快速窗口有效（Alt + c）", u"diaoyongkuaisuClick", kSwitchOn},
    {1, u"huacifuzi", u"划词复制", u"huacifuziClick", kSwitch},
    {1, u"menu_shengyin", u"提示音", u"", kSub},
    {2, u"wusen", u"无声", u"wusenClick", kRadio},
    {2, u"laosisen", u"老式经典声", u"laosisenClick", kRadio},
    {2, u"Windowsminzong", u"Windows 鸣钟", u"WindowsminzongClick", kRadioOn},
    Separator(1),
    {1, u"menuquang", u"实时自动保存到 [自动保存文件]", u"menuquangClick", kOwnSwitch},
    {1, u"qidongjiazaisangcibaocun", u"启动时自动加载上次退出保存记录", u"qidongjiazaisangcibaocunClick",
     kSwitchOn},
    {1, u"menu_tuicubaocunweisujuku", u"退出记录保存为数据库格式（支持带字体格式文本，速度较慢）",
     u"menu_tuicubaocunweisujukuClick", kSwitch},
    Separator(1),
    {1, u"jiyicuangtidaxiao", u"记忆窗体大小", u"jiyicuangtidaxiaoClick", kSwitch},
    {1, u"xiansituopan", u"程序是否显示在系统托盘上（任务栏右侧）", u"xiansituopanClick", kOwnSwitchOn},
    {1, u"N67", u"字体大小。。。", u"N67Click"},
    Separator(1),
    // The settings reader and the options dialog rewrite this caption with the limit.
    {1, u"menucangdu", u"文本长度限制为 80000字符", u"menucangduClick"},
    {1, u"menusuxin", u"属性设置。。。", u"menusuxinClick"},
    Separator(1),
    {1, u"mu_savesuxin", u"保存当前属性设置", u"mu_savesuxinClick"},
    {1, u"duruseziwenjian", u"读入设置文件", u"duruseziwenjianClick"},

    // Skins, in the order of the skin number (1 classic, 2..14 the skin files).
    {0, u"menu_pifu", u"皮肤", u"", kSub},
    {1, u"jindian", u"经典", u"jindianClick", kRadio},
    Separator(1),
    {1, u"xinsilvpi", u"新式绿皮", u"xinsilvpiClick", kRadioOn},
    {1, u"danhuang", u"淡黄", u"danhuangClick", kRadio},
    {1, u"kulan", u"酷兰", u"kulanClick", kRadio},
    {1, u"yabai", u"雅白", u"yabaiClick", kRadio},
    {1, u"lanseoffice", u"蓝色office", u"lanseofficeClick", kRadio},
    {1, u"baicangku", u"白苍色酷", u"baicangkuClick", kRadio},
    {1, u"baidianqinku", u"白靛青酷", u"baidianqinkuClick", kRadio},
    {1, u"baihupoku", u"白琥珀酷", u"baihupokuClick", kRadio},
    {1, u"baihuangku", u"白黄酷", u"baihuangkuClick", kRadio},
    {1, u"bailanku", u"白兰酷", u"bailankuClick", kRadio},
    {1, u"bailanhuangku", u"白兰黄酷", u"bailanhuangkuClick", kRadio},
    {1, u"bailianglv", u"白亮绿", u"bailianglvClick", kRadio},
    {1, u"bailvku", u"白绿酷", u"bailvkuClick", kRadio},

    // Tools: folder entries, program shortcuts, clipboard pictures.
    {0, u"menu_gongju", u"  工具  ", u"", kSub},
    {1, u"tianjiamulu", u"添加目录全路径", u"tianjiamuluClick"},
    {1, u"menu_wodediannao", u"添加我的电脑路径", u"", kSub},
    {2, u"w1", u"我的电脑", u"w1Click"},
    {2, u"N65", u"计算机", u"N65Click"},
    {1, u"piliangdakai", u"批量打开文件夹", u"piliangdakaiClick"},
    Separator(1),
    {1, u"menu_cenxvkuaijie", u"打开 自定义程序快捷方式总集", u"", kSub},
    {1, u"N167", u"如何添加或删除快捷方式？", u"N167Click"},
    Separator(1),
    {1, u"N137", u"查看图片数据", u"N137Click"},
    {1, u"N131", u"打开图片保存文件夹", u"N131Click"},
    {1, u"jiansitupiangesi", u"监视剪切板中的图片格式", u"jiansitupiangesiClick", kSwitchOn},
    {1, u"menu_tupianbaocun", u"剪切板中的图片保存为一个单独文件", u"menu_tupianbaocunClick", kSwitch},
    {1, u"qinkongjianqieban", u"图片保存后清空剪切板", u"qinkongjianqiebanClick", kSwitchOn},

    // System: Explorer display options, the desktop, restart. The tray menu has twins.
    {0, u"menu_xitongcaozuo", u"系统操作  ", u"", kSub},
    {1, u"xisikuozanmin", u"显示扩展名", u"xisikuozanminClick", kSwitch},
    {1, u"xiansiyincang", u"显示隐藏文件", u"xiansiyincangClick", kSwitch},
    Separator(1),
    {1, u"xiansizuomian", u"显示桌面（系统）", u"xiansizuomianClick"},
    Separator(1),
    {1, u"congqidong", u"重启动本程序", u"congqidongClick"},

    // Help.
    {0, u"menu_bangzhu", u"帮助   ", u"", kSub},
    {1, u"readme", u"软件介绍+一分钟学会", u"readmeClick"},
    {1, u"mu_ge", u"帮助总目录", u"mu_geClick"},
    {1, u"cakansoucijiesao", u"首次启动介绍", u"cakansoucijiesaoClick"},
    Separator(1),
    {1, u"kuaisutianxuliehao", u"如何快速填序列号", u"kuaisutianxuliehaoClick"},
    {1, u"kuaisutianbiao", u"如何快速填上网表格", u"kuaisutianbiaoClick"},
    {1, u"N126", u"如何导入各类表格？", u"N126Click"},
    {1, u"N183", u"我为什么要这样设计？", u"N183Click"},
    {1, u"N113", u"重大漏洞修复", u"N113Click"},
    {1, u"N95", u"为什么Quillora是最优秀的?", u"N95Click"},
    Separator(1),
    {1, u"menu_yingyongwenjianjia", u"打开应用文件夹", u"", kSub},
    {2, u"cakanqidong", u"打开本程序启动文件夹", u"cakanqidongClick"},
    Separator(2),
    {2, u"N204", u"样例表格 文件夹", u"N204Click"},
    {2, u"N205", u"我的数据盒 文件夹", u"N205Click"},
    {2, u"N206", u"保存 文件夹", u"N206Click"},
    {2, u"N207", u"程序快捷方式总集 文件夹", u"N207Click"},
    {2, u"N208", u"固定条目 文件夹", u"N208Click"},
    {2, u"N216", u"图片保存 文件夹", u"N216Click"},
    Separator(1),
    {1, u"N86", u"本软升级页面", u"N86Click"},
    {1, u"N121", u"下载 连续粘贴视频", u"N121Click"},
    Separator(1),
    {1, u"relieqinzu", u"热烈庆祝（烟花表演）", u"relieqinzuClick"},
    {1, u"N56", u"关于", u"N56Click"},

    // Never shown: routines that the program runs itself.
    {0, u"qidongyincang", u"  启动时隐藏  ", u"", kSub | gui::kMenuHidden},
    {1, u"cuangtisuofang", u"窗体启动缩放", u"cuangtisuofangClick"},
    {1, u"qidongduruzuce", u"启动时读入注册表", u"qidongduruzuceClick"},
    {1, u"xiugailaodewenjianmin", u"修改老的样例表格文件名", u"xiugailaodewenjianminClick"},
    {1, u"cenxvkuaijiedongtai", u"程序快捷方式总集动态菜单生成", u"cenxvkuaijiedongtaiClick"},
    Separator(1),
    {1, u"huodejianqiebao", u"获得剪切板全部格式子过程", u"huodejianqiebaoClick"},
    {1, u"jianqiebaohuifu", u"恢复剪切板全部格式子过程", u"jianqiebaohuifuClick"},
    Separator(1),
    {1, u"daoruutf8zi", u"导入utf-8（含Unicode）的文本文件子过程", u"daoruutf8ziClick"},
    {1, u"baocunutf8zi", u"保存为utf-8的文本文件子过程", u"baocunutf8ziClick"},
    {1, u"danxiangmybaocun", u"单项文本保存为ANSI文本文件子过程", u"danxiangmybaocunClick"},
    {1, u"danxiangbaocunutf8zi", u"单项文本保存为utf-8的文本文件子过程", u"danxiangbaocunutf8ziClick"},
    {1, u"daorusujukezi", u"导入数据库子过程", u"daorusujukeziClick"},
    {1, u"baocunweisujukuzi", u"保存为数据库子过程", u"baocunweisujukuziClick"},
    {1, u"danxiangbaocunweisujukuzi", u"单项文本保存为数据库子过程", u"danxiangbaocunweisujukuziClick"},
    {1, u"tuicubaocunweisujuku", u"退出记录保存为数据库子过程", u"tuicubaocunweisujukuClick"},
    {1, u"qidongjiazaituicusujuku", u"加载退出记录数据库子过程", u"qidongjiazaituicusujukuClick"},
    Separator(1),
    {1, u"tupianbaocunzi", u"图片保存子过程", u"tupianbaocunziClick"},
    {1, u"myimageszancunzi", u"剪切板image图片组暂存子过程", u"myimageszancunziClick"},
    Separator(1),
    {1, u"huacusuqianzi", u"画书签子过程", u"huacusuqianziClick"},
    {1, u"fasongwenben", u"向目标控件发送文本", u"fasongwenbenClick"},
    {1, u"rejian", u"系统热键控制有效（默认F9）", u"rejianClick"},
};

constexpr MenuRowSpec kPopupMenu1[] = {
    {0, u"N39", u"查看/修改（单条记录，无格式）", u"N39Click"},
    {0, u"N152", u"用带格式的浏览器查看当前文本", u"N152Click"},
    Separator(0),
    {0, u"yicunwenbenfasong", u"以纯文本复制（不带格式）", u"yicunwenbenfasongClick"},
    // Enabled by PopupMenu1Popup only outside the fixed view.
    {0, u"tianjiadaogudintiaomu", u"添加到固定条目（收藏夹）", u"tianjiadaogudintiaomuClick"},
    Separator(0),
    {0, u"menu_seweisuqian", u"设为书签", u"menu_seweisuqianClick"},
    // Enabled by PopupMenu1Popup only outside the fixed view.
    {0, u"zuanyidaosuqian", u"转移到书签", u"", kSub},
    {0, u"cexiaosuoyousuqian", u"撤销所有书签", u"cexiaosuoyousuqianClick"},
    Separator(0),
    {0, u"genxincongzai", u"更新(重载) 列表框中文件", u"genxincongzaiClick"},
    {0, u"bianjidangq", u"编辑 当前列表框文件", u"bianjidangqClick"},
};

// Exactly six rows at level 0 (TrayEntryBase): the history entries follow them.
constexpr MenuRowSpec kPopupMenu2[] = {
    {0, u"tuopanjiansi", u"监视剪切板", u"menuyouxiaoClick", kOwnSwitchOn},
    Separator(0),
    {0, u"tuopanxitongcaozuo", u"系统操作", u"", kSub},
    {1, u"xisikuozanmin2", u"显示扩展名", u"xisikuozanmin2Click", kSwitch},
    {1, u"xiansiyincang2", u"显示隐藏文件", u"xiansiyincang2Click", kSwitch},
    Separator(1),
    {1, u"N162", u"重启动本程序", u"congqidongClick"},
    Separator(0),
    {0, u"tuopantuicu", u"退出（本软件）", u"tuopantuicuClick"},
    Separator(0),
};

constexpr MainWindowMenu kMenus[] = {
    {u"MainMenu1", kMainMenu1},
    {u"PopupMenu1", kPopupMenu1},
    {u"PopupMenu2", kPopupMenu2},
};

}  // namespace

std::span<const gui::MenuRowSpec> MainMenu1Rows() { return kMainMenu1; }
std::span<const gui::MenuRowSpec> PopupMenu1Rows() { return kPopupMenu1; }
std::span<const gui::MenuRowSpec> PopupMenu2Rows() { return kPopupMenu2; }
std::span<const MainWindowMenu> MainWindowMenus() { return kMenus; }

}  // namespace app
