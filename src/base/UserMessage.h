// Every message box of the program goes through ShowUserMessage, so that one place decides how
// the user is told (and a test can see the text and caption without a real dialog).
#pragma once

namespace ox {

constexpr unsigned kMessageInformation = 0x40;  // MB_ICONINFORMATION

using UserMessageSink = void (*)(const char* text, const char* caption, unsigned style);

// Shows a message box without an owner window, or hands it to the sink when one is set. Text and
// caption are UTF-8.
void ShowUserMessage(const char* text, const char* caption, unsigned style);

// Replaces the sink (null restores the message box) and returns the previous one.
UserMessageSink SetUserMessageSink(UserMessageSink sink);

}  // namespace ox
