#pragma once
// The generated show pack the asset tests look at: the build's own demo/
// folder (made at build time by skydrift-assets), or, when the build has
// not made it, one generated once for this test process.
//
// The tests run in <build>/tests/tools; SKYDRIFT_BUILD_DIR overrides the
// build folder.

#include <string>

// The build folder (holding tools/skydrift-assets and demo/).
std::string buildFolder();
// The generator executable.
std::string assetGenerator();
// The folder that holds demo/; generated here when the build has none.
const std::string& packRoot();
// Makes packRoot() the current folder, so that resource names such as
// "demo\cubes.hlv" resolve as they do for the show.
void enterPack();
