#pragma once

namespace kugelfon {

enum class Voice : short { Female = 1, Male = 2 };

// The recordings carried in the program: "Bingo!" is 10000 (female) or
// 20000 (male), number n is 10001 + n or 20001 + n. Entry 0 of an order
// (n = 0) has a recording too, the same as number 1's.
constexpr int bingoRecording(Voice voice) { return voice == Voice::Male ? 20000 : 10000; }
constexpr int numberRecording(Voice voice, int n) { return bingoRecording(voice) + 1 + n; }

} // namespace kugelfon
