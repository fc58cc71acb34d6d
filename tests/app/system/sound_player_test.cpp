#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "app/system/sound_player.h"

using namespace app;

namespace {
struct Recorder {
  std::set<std::u16string> files;
  std::vector<std::u16string> played;
  int beeps = 0;
  SoundPlayer player() {
    return SoundPlayer(
        u"C:\\程序\\音效", [this](const std::u16string& p) { return files.count(p) != 0; },
        [this](const std::u16string& p) { played.push_back(p); }, [this] { ++beeps; });
  }
};
}  // namespace

TEST(SoundPlayer, PlaysOnlyWaveFilesThatExist) {
  Recorder r;
  r.files = {u"C:\\程序\\音效\\出错.wav"};
  const SoundPlayer player = r.player();
  EXPECT_TRUE(player.Play(u"出错.wav"));
  EXPECT_FALSE(player.Play(u"鸟叫.wav"));
  EXPECT_EQ(r.played, std::vector<std::u16string>{u"C:\\程序\\音效\\出错.wav"});
}

TEST(SoundPlayer, TheAddSoundFollowsTheSoundOption) {
  Recorder r;
  r.files = {u"C:\\程序\\音效\\增加条目.wav"};
  const SoundPlayer player = r.player();
  player.PlayAddSound(SoundChoice::wusen);
  EXPECT_TRUE(r.played.empty());
  EXPECT_EQ(r.beeps, 0);
  player.PlayAddSound(SoundChoice::laosisen);
  EXPECT_EQ(r.beeps, 1);
  EXPECT_TRUE(r.played.empty());
  player.PlayAddSound(SoundChoice::Windowsminzong);
  EXPECT_EQ(r.played, std::vector<std::u16string>{u"C:\\程序\\音效\\增加条目.wav"});
}
