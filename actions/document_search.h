// Searching the device's file system for documents (the office actions'
// lists of notes, Word and Excel documents).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct mivoDocumentSearchLimits {
  int maxDepth = 12;            // folders below the start folder that are entered
  std::size_t maxFiles = 2000;  // the search stops after this many matches
  std::size_t maxFolders = 20000;  // and after visiting this many folders
};

// Whether a name matches one of the "|"-separated patterns ("*.pwi|*.wav";
// "*" and "?" without case). An empty pattern list matches everything.
bool MatchesAnyPattern(std::u16string_view patterns, std::u16string_view name);

// The device paths of the files under `root` whose names match one of the
// patterns ("*.pwi|*.wav"; "*" and "?" without case), depth first: a
// folder's own files, then its sub-folders, each in name order. Symbolic links are not
// followed, so a link to a parent folder cannot make the walk endless.
std::vector<std::u16string> FindDocuments(std::u16string_view root, std::u16string_view patterns,
                                          const mivoDocumentSearchLimits& limits = {});
