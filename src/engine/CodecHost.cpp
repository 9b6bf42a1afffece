#include "engine/CodecHost.h"

#include "base/Text.h"
#include "core/Locations.h"

namespace ox {

namespace {

constexpr size_t kMaxExtension = 99;
constexpr int kMaxFormatsPerPlugin = 1000;  // a plug-in that never ends its list is cut off

}  // namespace

CodecHost::CodecHost(const std::string& folder) {
  for (LoadedDll& dll : LoadPluginFolder(folder)) {
    CodecPlugin p;
    p.path = std::move(dll.path);
    p.module = std::move(dll.module);
    p.module.Lookup("WhatFormats", p.WhatFormats);
    p.module.Lookup("GetTrackInfo", p.GetTrackInfo);
    p.module.Lookup("CreateANewDecoderObject", p.CreateANewDecoderObject);
    p.module.Lookup("DeleteADecoderObject", p.DeleteADecoderObject);
    p.module.Lookup("OutputWantsABlockOfData", p.OutputWantsABlockOfData);
    p.module.Lookup("ShowAboutOptionsPage", p.ShowAboutOptionsPage);
    p.module.Lookup("SkipTo", p.SkipTo);
    p.module.Lookup("SetVolume", p.SetVolume);
    p.module.Lookup("Pause", p.Pause);
    p.module.Lookup("UnPause", p.UnPause);
    p.module.Lookup("GetStringInfo", p.GetStringInfo);
    p.module.Lookup("SetIDTagElement", p.SetIDTagElement);
    p.module.Lookup("GetIDTagElement", p.GetIDTagElement);
    p.module.Lookup("GetLoudnessInfo", p.GetLoudnessInfo);

    for (int index = 0; p.WhatFormats && index < kMaxFormatsPerPlugin; ++index) {
      char extension[OX_CODEC_EXTENSION_SIZE] = {}, description[OX_CODEC_DESCRIPTION_SIZE] = {};
      p.WhatFormats(index, extension, description);
      const std::string_view ext = FieldText(extension), text = FieldText(description);
      if (ext.empty()) break;
      // An extension too long for the format record could never be told apart safely: left out.
      if (ext.size() <= kMaxExtension) formats_.push_back({std::string(ext), std::string(text), p.path});
    }
    plugins_.push_back(std::move(p));
  }
}

const CodecPlugin* CodecHost::Find(std::string_view extension) const {
  for (const CodecFormat& format : formats_) {
    if (!EqualNoCase(format.extension, extension)) continue;
    for (const CodecPlugin& plugin : plugins_)
      if (plugin.path == format.path) return &plugin;
  }
  return nullptr;
}

bool CodecHost::IsPlayable(std::string_view extension) const {
  for (const CodecFormat& format : formats_)
    if (EqualNoCase(format.extension, extension)) return true;
  return false;
}

void CodecHost::AppendPatternList(std::string& text) const {
  for (size_t i = 0; i < formats_.size(); ++i) {
    if (i) text += ';';
    text += '*' + formats_[i].extension;
  }
}

const CodecHost& Codecs() {
  static const CodecHost* host = new CodecHost(CodecFolder());  // never deleted: DLLs stay loaded
  return *host;
}

}  // namespace ox
