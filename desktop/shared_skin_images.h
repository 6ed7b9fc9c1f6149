// mivoSharedSkinImages: the skin images of one gadget class, shared by all
// its gadgets. They are looked up together the first time a gadget of the
// class asks, and kept: the lookup is done again only when the look has
// another skin object (a skin is never unloaded while the program runs, so
// in the program this is once per process; tests make a look per case).
//
//   mivoSharedSkinImages& Images() {
//     static mivoSharedSkinImages images{u"gadget_battery", u"gadget_battery_ac"};
//     return images;
//   }
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

class mivoCore;
class mivoSkinImage;

class mivoSharedSkinImages {
 public:
  mivoSharedSkinImages(std::initializer_list<const char16_t*> names);
  mivoSharedSkinImages(const mivoSharedSkinImages&) = delete;
  mivoSharedSkinImages& operator=(const mivoSharedSkinImages&) = delete;

  // Looks the images up unless they were for the current skin already.
  void Ensure(mivoCore* core);
  // Image `index` (the order of the names); null before Ensure, without a
  // look, or past the end.
  mivoSkinImage* Get(std::size_t index) const;
  std::size_t Count() const { return m_names.size(); }
  // Appends every image, in the order of the names (those not looked up are left out).
  void AppendTo(std::vector<mivoSkinImage*>& images) const;

 private:
  std::vector<const char16_t*> m_names;  // the skin's names, fixed
  std::vector<mivoSkinImage*> m_images;  // looked up for m_pSkin; empty before
  std::uint64_t m_skinSerial = 0;        // the serial of the skin they were looked up in; 0 none
};
