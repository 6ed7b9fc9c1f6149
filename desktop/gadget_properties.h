// The stored fields of a gadget by name, for the layout's text form. A
// gadget hands each field it stores to the visitor (ExchangeProperties); a
// writer of the text reads the values, a reader of the text sets those the
// text names and leaves the others at the gadget's defaults:
//
//   void CmivoLineGadget::ExchangeProperties(mivoGadgetProperties& p) {
//     p.Flag("vertical", m_vertical);
//     p.Int("length", m_length);
//     p.Color("color", m_color);
//   }
//
// The binary record stays the gadget's own (SaveProperties/LoadProperties);
// this is only the readable view of the same fields.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

#include "platform/win32/types.h"

class mivoAction;
class mivoHeldAction;

class mivoGadgetProperties {
 public:
  virtual ~mivoGadgetProperties() = default;

  virtual void Int(const char* name, std::int32_t& value) = 0;
  void Int(const char* name, DWORD& value) {
    std::int32_t v = static_cast<std::int32_t>(value);
    Int(name, v);
    value = static_cast<DWORD>(v);
  }
  virtual void Flag(const char* name, bool& value) = 0;
  virtual void Color(const char* name, COLORREF& value) = 0;
  virtual void Text(const char* name, std::u16string& value) = 0;
  // A number written as one of the names (value n is names[n]); numbers are
  // accepted too.
  virtual void Choice(const char* name, std::int32_t& value, std::initializer_list<const char*> names) = 0;
  // An action the gadget holds (empty when it holds none).
  virtual void Action(const char* name, mivoHeldAction& action) = 0;
};
