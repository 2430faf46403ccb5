// The bodies of the fuzz targets. Each takes one input of any bytes, drives
// the code under test over it and checks what must hold for every input; a
// broken property aborts, so the fuzzer records the input as a crash. The
// libFuzzer entry points and the replay test of tests/fuzz_regressions call
// the same functions.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zepfuzz {

// A ZEP script and region files, loaded as a document and played headless.
// The input is the script, then each region file (00, 01, ...), each one
// after kRegionMarker.
void FuzzScriptEngine(const uint8_t* data, size_t size);
inline constexpr char kRegionMarker[] = "\n#rgn\n";

// Decoding a region file, and encoding the result again.
void FuzzRegionBytes(const uint8_t* data, size_t size);

// Decoding a picture file, tracing it and encoding the shape.
void FuzzPictureTrace(const uint8_t* data, size_t size);

// Decoding a BMP file, compared with stb_image's BMP loader where it reads
// the file alike.
void FuzzBmpDecode(const uint8_t* data, size_t size);

// An imported set's file, read as the programs read it.
void FuzzCharacterStore(const uint8_t* data, size_t size);

// dorvik's command line: the words are the input cut at every zero byte.
void FuzzDorvikGrade(const uint8_t* data, size_t size);

// Stops the run with a message when a property fails.
void Require(bool holds, const char* property);

}  // namespace zepfuzz
