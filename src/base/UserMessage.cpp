#include "base/UserMessage.h"

#include <windows.h>

#include <atomic>

#include "base/Wide.h"

namespace ox {

namespace {
std::atomic<UserMessageSink> g_sink{nullptr};
}

void ShowUserMessage(const char* text, const char* caption, unsigned style) {
  if (UserMessageSink sink = g_sink.load()) {
    sink(text, caption, style);
    return;
  }
  MessageBoxW(nullptr, Wide(text).c_str(), Wide(caption).c_str(), style);
}

UserMessageSink SetUserMessageSink(UserMessageSink sink) { return g_sink.exchange(sink); }

}  // namespace ox
