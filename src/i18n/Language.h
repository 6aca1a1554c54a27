#pragma once

// Installs or removes the Chinese translations of every text the program shows.
// English is the source language of every tr() text, so English needs no
// translator at all.
namespace Language {
void install(bool english);
bool englishInstalled();
} // namespace Language
