#include "resources/jpeg_decoder.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <string>

// jpeglib.h needs FILE and size_t declared before it.
#include <jerror.h>
#include <jpeglib.h>

#include "platform/message_box.h"
#include "resources/diagnostics.h"
#include "resources/image_limits.h"
#include "resources/image_source.h"

namespace orv {
namespace {

// Progressive pictures can hold any number of scans, each a full pass over the coefficients;
// real encoders write a dozen or so. Past this count the picture is treated as damaged.
constexpr int kMaxScans = 500;

// Everything one decode needs, as plain data: libjpeg's error exit longjmps back into
// DecodeSession, so nothing with a destructor may live between its setjmp and a longjmp.
struct JpegSession {
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr err;
    jpeg_source_mgr src;
    jpeg_progress_mgr progress;
    std::jmp_buf jump;
    const char* entry;
    const unsigned char* data;
    size_t size;
    unsigned char* pixels;  // malloc'ed; handed to the caller on success
    JSAMPROW* rows;         // malloc'ed
    bool warned;
    char message[JMSG_LENGTH_MAX + 64];
};

JpegSession* SessionOf(j_common_ptr cinfo) {
    return static_cast<JpegSession*>(cinfo->client_data);
}

// Error manager. A fatal error ends the decoding of this picture: libjpeg requires that the
// error exit never returns, so it jumps back to DecodeSession with the message kept.
[[noreturn]] void ErrorExit(j_common_ptr cinfo) {
    JpegSession* s = SessionOf(cinfo);
    (*cinfo->err->format_message)(cinfo, s->message);
    std::longjmp(s->jump, 1);
}

void OutputMessage(j_common_ptr cinfo) {
    // Decoder messages never reach the user directly.
    char discard[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, discard);
}

void EmitMessage(j_common_ptr cinfo, int level) {
    if (level >= 0) return;  // trace messages
    JpegSession* s = SessionOf(cinfo);
    // Damaged data can raise a warning per block; one per picture says enough.
    if (!s->warned) {
        char text[JMSG_LENGTH_MAX];
        (*cinfo->err->format_message)(cinfo, text);
        Warn(s->entry, 0, "JPEG data damaged: %s", text);
        s->warned = true;
    }
    cinfo->err->num_warnings++;
}

// Memory source: the whole entry is the one input buffer.
void InitSource(j_decompress_ptr cinfo) {
    JpegSession* s = SessionOf(reinterpret_cast<j_common_ptr>(cinfo));
    cinfo->src->next_input_byte = s->data;
    cinfo->src->bytes_in_buffer = s->size;
}

// Called only when the data is used up. Supplying nothing would let the decoder read past the
// buffer; an end-of-image marker ends the picture instead, and the missing part decodes flat.
boolean FillInputBuffer(j_decompress_ptr cinfo) {
    static const JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};
    WARNMS(cinfo, JWRN_JPEG_EOF);
    cinfo->src->next_input_byte = kEndOfImage;
    cinfo->src->bytes_in_buffer = 2;
    return TRUE;
}

void SkipInputData(j_decompress_ptr cinfo, long count) {
    if (count <= 0) return;
    jpeg_source_mgr* src = cinfo->src;
    const size_t n = static_cast<size_t>(count) < src->bytes_in_buffer ? static_cast<size_t>(count)
                                                                       : src->bytes_in_buffer;
    src->next_input_byte += n;
    src->bytes_in_buffer -= n;
}

void TermSource(j_decompress_ptr) {}

void ProgressMonitor(j_common_ptr cinfo) {
    if (!cinfo->is_decompressor) return;
    const auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (d->input_scan_number > kMaxScans) {
        JpegSession* s = SessionOf(cinfo);
        std::snprintf(s->message, sizeof s->message, "more than %d scans", kMaxScans);
        std::longjmp(s->jump, 1);
    }
}

bool Refuse(JpegSession* s, const char* why) {
    std::snprintf(s->message, sizeof s->message, "%s", why);
    jpeg_destroy_decompress(&s->cinfo);
    std::free(s->rows);
    s->rows = nullptr;
    std::free(s->pixels);
    s->pixels = nullptr;
    return false;
}

// Decodes s->data into s->pixels. On failure s->message says why and nothing stays allocated.
bool DecodeSession(JpegSession* s) {
    j_decompress_ptr cinfo = &s->cinfo;
    cinfo->err = jpeg_std_error(&s->err);
    s->err.error_exit = ErrorExit;
    s->err.output_message = OutputMessage;
    s->err.emit_message = EmitMessage;
    cinfo->client_data = s;
    if (setjmp(s->jump)) {
        jpeg_destroy_decompress(cinfo);
        std::free(s->rows);
        s->rows = nullptr;
        std::free(s->pixels);
        s->pixels = nullptr;
        return false;
    }
    jpeg_create_decompress(cinfo);
    // Bounds the coefficient buffers of progressive pictures (the pixel bound covers the rest).
    cinfo->mem->max_memory_to_use = static_cast<long>(MaxImagePixels() * 16 + (16l << 20));
    s->src.init_source = InitSource;
    s->src.fill_input_buffer = FillInputBuffer;
    s->src.skip_input_data = SkipInputData;
    s->src.resync_to_restart = jpeg_resync_to_restart;
    s->src.term_source = TermSource;
    cinfo->src = &s->src;
    s->progress.progress_monitor = ProgressMonitor;
    cinfo->progress = &s->progress;

    jpeg_read_header(cinfo, TRUE);
    switch (cinfo->jpeg_color_space) {
        case JCS_YCbCr:
        case JCS_RGB:
            break;
        case JCS_GRAYSCALE:
            cinfo->out_color_space = JCS_RGB;
            break;
        case JCS_CMYK:
            return Refuse(s, "CMYK pictures are not supported");
        case JCS_YCCK:
            return Refuse(s, "YCCK pictures are not supported");
        default:
            return Refuse(s, "unknown colour space");
    }
    if (!ImageSizeAcceptable(cinfo->image_width, cinfo->image_height)) {
        char why[64];
        std::snprintf(why, sizeof why, "image size %ux%u", cinfo->image_width, cinfo->image_height);
        return Refuse(s, why);
    }
    jpeg_start_decompress(cinfo);
    if (cinfo->output_components != 3) return Refuse(s, "decoder output is not RGB");

    const size_t row_bytes = size_t{cinfo->output_width} * 3;
    const size_t height = cinfo->output_height;
    s->pixels = static_cast<unsigned char*>(std::calloc(height, row_bytes));
    s->rows = static_cast<JSAMPROW*>(std::malloc(height * sizeof(JSAMPROW)));
    if (!s->pixels || !s->rows) return Refuse(s, "out of memory");
    // Picture row i (from the top) goes to memory row height - 1 - i.
    for (size_t i = 0; i < height; ++i) s->rows[i] = s->pixels + (height - 1 - i) * row_bytes;
    while (cinfo->output_scanline < cinfo->output_height) {
        const JDIMENSION at = cinfo->output_scanline;
        if (jpeg_read_scanlines(cinfo, s->rows + at, cinfo->output_height - at) == 0)
            return Refuse(s, "decoder stopped before the last row");
    }
    jpeg_destroy_decompress(cinfo);
    std::free(s->rows);
    s->rows = nullptr;
    return true;
}

}  // namespace

bool DecodeJpegFile(const MemFile& file, DecodedImage& image) {
    image = DecodedImage{};
    // Value-initialised: every pointer starts null, so a failure at any point cleans up.
    auto session = std::make_unique<JpegSession>();
    JpegSession* s = session.get();
    s->entry = file.name();
    s->data = file.data();
    s->size = file.size();
    if (!DecodeSession(s)) {
        Warn(file.name(), 0, "JPEG image not decoded: %s", s->message);
        return false;
    }
    image.width = static_cast<int>(s->cinfo.output_width);
    image.height = static_cast<int>(s->cinfo.output_height);
    image.rowBytes = image.width * 3;
    image.pixels.reset(s->pixels);
    return true;
}

bool DecodeJpeg(const char* entry_name, DecodedImage& image) {
    image = DecodedImage{};
    MemFile file;
    if (!OpenImageEntry(file, entry_name)) {
        const std::string text = std::string("ARCH:Can't load JPG file: ") + entry_name;
        platform::ShowMessageBox(text.c_str(), "Error");
        Warn(entry_name, 0, "cannot open JPEG image");
        return false;
    }
    return DecodeJpegFile(file, image);
}

}  // namespace orv
