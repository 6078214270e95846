// A PNG picture read back with Cairo, for checking pixels (the programs
// that include this link Cairo).
#pragma once

#include <gtest/gtest.h>

#include <cairo.h>

#include <memory>
#include <string>

#include "platform/gdi/Brushes.h"

struct Picture {
    std::unique_ptr<cairo_surface_t, void (*)(cairo_surface_t*)> surface{nullptr, cairo_surface_destroy};
    COLORREF At(int x, int y) const {
        const unsigned char* row =
            cairo_image_surface_get_data(surface.get()) + y * cairo_image_surface_get_stride(surface.get());
        uint32_t pixel = reinterpret_cast<const uint32_t*>(row)[x];
        return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
    }
    int Width() const { return cairo_image_surface_get_width(surface.get()); }
    int Height() const { return cairo_image_surface_get_height(surface.get()); }
};

inline Picture LoadPicture(const std::string& path) {
    Picture picture;
    picture.surface.reset(cairo_image_surface_create_from_png(path.c_str()));
    EXPECT_EQ(cairo_surface_status(picture.surface.get()), CAIRO_STATUS_SUCCESS);
    return picture;
}
