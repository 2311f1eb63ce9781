#pragma once

// Platform-internal: conversion between packed device-independent bitmaps (CF_DIB) and the
// images that Qt offers to other programs.

#include "platform/ole/GlobalMemory.h"

#include <QImage>

#include <cstddef>

// The picture a packed DIB holds: a BITMAPINFOHEADER (40 bytes or a later, longer version),
// uncompressed 24 or 32 bits per pixel, bottom-up or top-down. Every size is checked against
// `size`; a block that does not hold a whole picture gives a null image.
QImage ImageFromPackedDib(const void* data, std::size_t size);

// A new block holding the image as a 24-bit bottom-up packed DIB, or null when the image is
// null or the block would be too large.
HGLOBAL PackedDibFromImage(const QImage& image);
