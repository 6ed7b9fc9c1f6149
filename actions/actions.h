// mivoActions: the action factory with the favourites and the actions
// history. The core makes it first of all its objects, has it read its two
// files while it is built, and has it write them when the program ends.
// The actions themselves, the history ranking and the file formats come with
// the action model; until then the store is empty and writes nothing.
#pragma once

class mivoCore;

class mivoActions {
 public:
  explicit mivoActions(mivoCore* core) : m_pCore(core) {}
  ~mivoActions() = default;
  mivoActions(const mivoActions&) = delete;
  mivoActions& operator=(const mivoActions&) = delete;

  // Reads "mivo_ah.dat" (the log, counted into the history) and then
  // "mivo_fav.dat" from the program folder; once, while the core is built.
  void LoadHistoryAndFavorites();
  // Writes both files, history first. Destroys nothing: pages and gadgets
  // may still point at the actions until the core has deleted them.
  void SaveHistoryAndFavorites();

 private:
  mivoCore* m_pCore;  // the owner
};
