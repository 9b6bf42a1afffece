// What a skin button's command does: a named event set, cleared or toggled, play/stop, skip back,
// or one of the bracketed commands (a sibling program started, the open-files dialog, equaliser
// presets); the default tooltip of each command; the right click; and the sibling programs the
// buttons and the hotkeys start.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ox {

// The tooltip a button of the command shows when the skin gives none; empty for none. Pure.
std::string DefaultTooltip(std::string_view command);

// Whether a command names a named event (not empty, not beginning with "<" or "["). Pure.
bool IsEventCommand(std::string_view command);

// Whether the command opens a dialog (open files, load or save a preset). Pure.
bool CommandOpensDialog(std::string_view command);

// The sibling programs, started from the installation folder without waiting; a program that
// cannot be started is not reported.
void StartCollectionEditor();
void StartSelectivePlay();       // the collection editor with "<selective>"
void StartPlaylistWindow();
void StartPreviouslyPlayed();
void StartOptionsMenu();

// Runs a button's command (compared exactly); a dialog runs modally on the calling thread. For an
// event in toggle mode ("evtOxPlay" included, whatever play/stop made of it) the event's state
// comes back, for the button to be lit or dark by; nothing for every other command.
std::optional<bool> RunButtonCommand(std::string_view command, int32_t eventMode);

// A right click on a button: "<PrevPlayed>" starts the previously-played window.
void RightClickButton(std::string_view command);

// Whether the selective play list holds a record, read at most every 5000 ms (now: a tick count).
// For the skin thread only.
bool SelectivePlayListHasRecords(uint32_t now);

}  // namespace ox
