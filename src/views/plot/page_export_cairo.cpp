// Rendering through librsvg and cairo.
#include <cairo-pdf.h>
#include <cairo.h>
#include <librsvg/rsvg.h>

#include <cmath>
#include <memory>

#include "views/plot/page_export.h"

namespace scenariogen {

namespace {

constexpr double kPointsPerMillimetre = 72 / 25.4;

struct HandleRelease {
    void operator()(RsvgHandle* handle) const { g_object_unref(handle); }
};
struct ContextRelease {
    void operator()(cairo_t* context) const { cairo_destroy(context); }
};
struct SurfaceRelease {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
using Handle = std::unique_ptr<RsvgHandle, HandleRelease>;
using Context = std::unique_ptr<cairo_t, ContextRelease>;
using Surface = std::unique_ptr<cairo_surface_t, SurfaceRelease>;

// Throws with the library's message, and frees it.
[[noreturn]] void fail(const char* what, GError* error) {
    const std::string message = std::string(what) + (error != nullptr ? std::string(": ") + error->message : "");
    if (error != nullptr) g_error_free(error);
    throw PageRenderError(message);
}

Handle parse(const std::string& svg) {
    GError* error = nullptr;
    Handle handle(rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(svg.data()), svg.size(), &error));
    if (!handle) fail("the drawing could not be read for rendering", error);
    return handle;
}

// Renders the whole drawing onto `context`, `pages` pages tall, each page
// `width` by `height` in the context's units, with page `first` at the top.
void render(RsvgHandle* handle, cairo_t* context, double width, double height, int pages, int first) {
    cairo_save(context);
    cairo_translate(context, 0, -height * first);
    const RsvgRectangle viewport{0, 0, width, height * pages};
    GError* error = nullptr;
    if (!rsvg_handle_render_document(handle, context, &viewport, &error))
        fail("the drawing could not be rendered", error);
    cairo_restore(context);
}

cairo_status_t append(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

void check(cairo_status_t status) {
    if (status != CAIRO_STATUS_SUCCESS) throw PageRenderError(cairo_status_to_string(status));
}

}  // namespace

std::string page_rendering_unavailable() { return ""; }

std::string render_png(const std::string& svg, const PageSheet& sheet, double dpi) {
    const Handle handle = parse(svg);
    const double pixels_per_mm = dpi / 25.4;
    const auto width = static_cast<int>(std::lround(sheet.width_mm * pixels_per_mm));
    const auto height = static_cast<int>(std::lround(sheet.height_mm * pixels_per_mm));
    const Surface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height * sheet.count));
    check(cairo_surface_status(surface.get()));
    const Context context(cairo_create(surface.get()));
    render(handle.get(), context.get(), width, height, sheet.count, 0);
    std::string png;
    check(cairo_surface_write_to_png_stream(surface.get(), append, &png));
    return png;
}

std::string render_pdf(const std::string& svg, const PageSheet& sheet) {
    const Handle handle = parse(svg);
    const double width = sheet.width_mm * kPointsPerMillimetre;
    const double height = sheet.height_mm * kPointsPerMillimetre;
    std::string pdf;
    {
        const Surface surface(cairo_pdf_surface_create_for_stream(append, &pdf, width, height));
        check(cairo_surface_status(surface.get()));
        const Context context(cairo_create(surface.get()));
        for (int page = 0; page < sheet.count; ++page) {
            render(handle.get(), context.get(), width, height, sheet.count, page);
            cairo_show_page(context.get());
        }
        cairo_surface_finish(surface.get());
        check(cairo_surface_status(surface.get()));
    }
    return pdf;
}

}  // namespace scenariogen
