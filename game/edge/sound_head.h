// What the page must know of one of its compressed sounds around the
// browser's decoding of it: the rate to decode it at, and where the
// painted samples lie in what the decoder hands back. Ogg Vorbis names its
// rate in its first page, and decoders give back the painted samples. An
// MP3 file's frames hold the encoder's delay ahead of the painted samples
// and padding after them, and the LAME tag in its first frame says how
// much of each; some decoders take them off, some do not. Free of any
// platform header, so the native tests check it.
#pragma once

#include <cstdint>
#include <span>

enum class SoundFormat { unknown, ogg_vorbis, mp3 };

struct SoundHead {
    SoundFormat format = SoundFormat::unknown;
    int rate = 0;  // samples a second, 0 when the head cannot be read
    // An MP3 file's LAME tag, all 0 without one.
    long frames = 0;        // the frames after the tag's own
    int frame_samples = 0;  // 1152 for MPEG-1, 576 for MPEG-2 and 2.5
    int delay = 0;          // the encoder's samples ahead of the painted ones
    int padding = 0;        // its samples after them, to the last frame's end

    // How many samples were painted: -1 when the head does not say.
    long painted() const;
};

// Reads the Ogg page or the MP3 frame (after an ID3v2 tag, if any) at the
// start of the file. Anything else, or a head cut short, is unknown.
SoundHead read_sound_head(std::span<const std::uint8_t> file);

// Samples from `start`, `length` of them.
struct SampleSpan {
    long start = 0;
    long length = 0;
};

// Where the painted samples lie in the `decoded` samples the browser made
// of the file. Known layouts by their length: the painted samples alone
// (delay and padding taken off); every frame as it decodes, the tag's own
// frame left out or decoded as silence, with the decoder's own 529 samples
// of delay ahead of the encoder's; otherwise they start the buffer, as many
// of them as it holds.
SampleSpan painted_span(const SoundHead& head, long decoded);
