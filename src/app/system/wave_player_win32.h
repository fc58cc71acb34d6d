// Wave files started from a thread of their own. PlaySound starts an asynchronous sound by
// creating a thread, which cost the capture on the GUI thread more than all it does after the
// new row; here the GUI thread only hands the file over. The sounds start in the order they
// were asked for, and each one stops the one playing, as PlaySound does.
#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

namespace app {

class AsyncWavePlayer {
 public:
  AsyncWavePlayer() = default;
  ~AsyncWavePlayer();
  AsyncWavePlayer(const AsyncWavePlayer&) = delete;
  AsyncWavePlayer& operator=(const AsyncWavePlayer&) = delete;

  void Play(std::u16string path);

 private:
  void Run();

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::u16string> waiting_;
  bool stopping_ = false;
  std::thread thread_;  // made with the first sound
};

}  // namespace app
