// The page's sound, with Web Audio: the cues on one channel, the meadow
// loop that Ambient plays in the other builds, and the refusal beep.
// A browser lets a page sound only after a user gesture; until the first
// one (the START press or tap at the latest) every request is silently
// dropped.
#pragma once

// Sets up the sound side, silent and empty, at start-up.
void open_audio();

// Fetches and decodes the cues, the refusal beep and Ambient's WAVE 300
// (page_sounds.h), once, after the first frame, in the one set of files
// the browser says it plays; no audio context exists until the first
// sound is asked for after a gesture. A sound asked for before it has come
// is not heard. Once all have come (or failed), the offline copy keeps them.
void prepare_sounds();

// The shell's platform_beep: a short tone beside the cue channel, as the
// system beep is beside the game's own sounds.
void play_beep();
