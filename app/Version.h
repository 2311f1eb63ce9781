#pragma once

// The program's version: file and product version alike.
constexpr int kSwoop2VersionMajor = 1;
constexpr int kSwoop2VersionMinor = 0;
constexpr int kSwoop2VersionPatch = 0;
constexpr int kSwoop2VersionBuild = 1;
constexpr const char* kSwoop2Version = "1.0.0.1";
