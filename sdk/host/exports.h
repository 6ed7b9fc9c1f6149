// The platform functions of the SDK, exported by the program to the plug-in
// libraries it loads. They are made from the SDK's header at build time; a
// library that loads plug-ins calls ExportedFunctionCount once, so that they
// are linked into every program that can load one.
#pragma once

namespace sdk_host {

// How many functions the program exports to plug-ins.
int ExportedFunctionCount();

}  // namespace sdk_host
