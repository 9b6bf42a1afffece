// Finds the codec plug-ins of the codec folder once per process and answers which plug-in plays an
// extension, whether an extension plays at all, and what the open-file dialog lists.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "CodecPlugin.h"
#include "engine/PluginFolder.h"

namespace ox {

struct CodecPlugin {
  std::string path;  // the DLL, as the folder walk gave it
  UniqueModule module;
  // Entry points; each null when the DLL does not export it, and then never called.
  OxWhatFormatsFn WhatFormats = nullptr;
  OxGetTrackInfoFn GetTrackInfo = nullptr;
  OxCreateDecoderFn CreateANewDecoderObject = nullptr;
  OxDeleteDecoderFn DeleteADecoderObject = nullptr;
  OxOutputWantsBlockFn OutputWantsABlockOfData = nullptr;
  OxShowAboutFn ShowAboutOptionsPage = nullptr;
  OxSkipToFn SkipTo = nullptr;
  OxSetVolumeFn SetVolume = nullptr;
  OxPauseFn Pause = nullptr;
  OxPauseFn UnPause = nullptr;
  OxGetStringInfoFn GetStringInfo = nullptr;
  OxSetIDTagElementFn SetIDTagElement = nullptr;
  OxGetIDTagElementFn GetIDTagElement = nullptr;
  OxGetLoudnessInfoFn GetLoudnessInfo = nullptr;  // optional: older plug-ins lack it
};

struct CodecFormat {
  std::string extension;    // with its dot, at most 99 characters
  std::string description;  // at most 259 characters
  std::string path;         // the DLL that announced it
};

class CodecHost {
 public:
  // Loads every DLL of folder and asks each for its formats.
  explicit CodecHost(const std::string& folder);

  // The plug-in that plays extension (with its dot, any case): the one found first in the folder
  // among those announcing it. Null when none does.
  const CodecPlugin* Find(std::string_view extension) const;
  bool IsPlayable(std::string_view extension) const;

  // Appends "*.mp3;*.wav" (one "*" + extension per format, ";" between) to text.
  void AppendPatternList(std::string& text) const;

  const std::vector<CodecPlugin>& Plugins() const { return plugins_; }
  const std::vector<CodecFormat>& Formats() const { return formats_; }

 private:
  std::vector<CodecPlugin> plugins_;
  std::vector<CodecFormat> formats_;
};

// The process-wide host over the codec folder, built on first use and kept (with its DLLs loaded)
// until the process ends.
const CodecHost& Codecs();

}  // namespace ox
