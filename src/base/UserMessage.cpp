#include "base/UserMessage.h"

#include <windows.h>

#include <atomic>

namespace ox {

namespace {
std::atomic<UserMessageSink> g_sink{nullptr};
}

void ShowUserMessage(const char* text, const char* caption, unsigned style) {
  if (UserMessageSink sink = g_sink.load()) {
    sink(text, caption, style);
    return;
  }
  MessageBoxA(nullptr, text, caption, style);
}

UserMessageSink SetUserMessageSink(UserMessageSink sink) { return g_sink.exchange(sink); }

}  // namespace ox
