#include "resources/texture.h"

#include <GL/glu.h>

#include <cstring>

#include "resources/diagnostics.h"
#include "resources/image_source.h"
#include "resources/jpeg_decoder.h"
#include "resources/memfile.h"
#include "resources/progress.h"
#include "resources/tga_decoder.h"

namespace orv {
namespace {

constexpr char kListEnd[] = "END_TEXT";

enum class ImageKind { kNone, kJpeg, kTga };

// Decided by the last three characters only: "jpg"/"JPG" and "tga"/"TGA"; mixed case is neither.
ImageKind KindOf(const char* name) {
    const size_t n = std::strlen(name);
    if (n < 3) return ImageKind::kNone;
    const char* ext = name + n - 3;
    if (std::strcmp(ext, "jpg") == 0 || std::strcmp(ext, "JPG") == 0) return ImageKind::kJpeg;
    if (std::strcmp(ext, "tga") == 0 || std::strcmp(ext, "TGA") == 0) return ImageKind::kTga;
    return ImageKind::kNone;
}

// Copies the first blank-separated word of `line` into `word` (kLineBufferSize bytes); false
// when the line holds no word.
bool FirstWord(const char* line, char* word) {
    while (*line == ' ' || *line == '\t' || *line == '\v' || *line == '\f') ++line;
    size_t n = 0;
    while (line[n] && line[n] != ' ' && line[n] != '\t' && line[n] != '\v' && line[n] != '\f' &&
           n < kLineBufferSize - 1) {
        word[n] = line[n];
        ++n;
    }
    word[n] = '\0';
    return n > 0;
}

}  // namespace

TextureEntry& TextureLibrary::Append(std::unique_ptr<TextureEntry> entry) {
    entries_.push_back(std::move(entry));
    return *entries_.back();
}

TextureLibrary& SceneTextures() {
    static TextureLibrary library;
    return library;
}

TextureEntry* FindTexture(const TextureLibrary& library, const char* path) {
    if (!path) return nullptr;
    for (size_t i = 0; i < library.size(); ++i) {
        if (std::strcmp(library[i].path, path) == 0) return &library[i];
    }
    return nullptr;
}

GLuint UploadMipmappedTexture(const char* entry_name, int components, int width, int height,
                              GLenum format, const unsigned char* pixels) {
    GLuint id = 0;
    glGenTextures(1, &id);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glBindTexture(GL_TEXTURE_2D, id);
    const GLint status = gluBuild2DMipmaps(GL_TEXTURE_2D, components, width, height, format,
                                           GL_UNSIGNED_BYTE, pixels);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    if (status != 0) {
        Warn(entry_name, 0, "cannot build texture of %dx%d: %s", width, height,
             reinterpret_cast<const char*>(gluErrorString(static_cast<GLenum>(status))));
        glBindTexture(GL_TEXTURE_2D, 0);
        glDeleteTextures(1, &id);
        return 0;
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    return id;
}

GLuint LoadTgaTexture(const char* entry_name) {
    TgaImage image;
    if (!DecodeTga(entry_name, image)) return 0;
    // Whatever its stored kind, a TGA texture is uploaded with four components.
    std::vector<uint8_t> rgba;
    if (image.bytesPerPixel == 4) {
        rgba.swap(image.pixels);
    } else {
        rgba = TgaToRgba(image);
        image.pixels = {};
    }
    return UploadMipmappedTexture(entry_name, 4, image.width, image.height, GL_RGBA, rgba.data());
}

void LoadTextureImage(TextureEntry& entry, const char* file_name) {
    const size_t folder = sizeof kTextureFolder - 1;
    const size_t room = kTexturePathSize - 1 - folder;
    const size_t length = std::strlen(file_name);
    std::memcpy(entry.path, kTextureFolder, folder);
    const size_t kept = length < room ? length : room;
    std::memcpy(entry.path + folder, file_name, kept);
    entry.path[folder + kept] = '\0';
    if (length > room) {
        Warn(entry.path, 0, "texture file name \"%s\" is longer than %zu characters; cut short",
             file_name, room);
    }

    switch (KindOf(entry.path)) {
        case ImageKind::kJpeg: {
            DecodedImage image;
            if (DecodeJpeg(entry.path, image)) {
                entry.id = UploadMipmappedTexture(entry.path, 3, image.width, image.height, GL_RGB,
                                                  image.pixels.get());
            }
            break;
        }
        case ImageKind::kTga:
            entry.id = LoadTgaTexture(entry.path);
            break;
        case ImageKind::kNone:
            break;
    }
}

void LoadTextureList(TextureLibrary& library, const char* list_entry, bool report_progress) {
    MemFile list;
    if (!OpenImageEntry(list, list_entry)) {
        Warn(list_entry, 0, "texture list missing; no textures loaded");
        return;
    }
    char line[kLineBufferSize];
    char word[kLineBufferSize];
    for (;;) {
        const bool more = list.ReadLine(line);
        if (std::strncmp(line, kListEnd, sizeof kListEnd - 1) == 0) return;
        if (FirstWord(line, word)) {
            auto entry = std::make_unique<TextureEntry>();
            LoadTextureImage(*entry, word);
            if (entry->id == 0 && KindOf(entry->path) == ImageKind::kNone) {
                Warn(list_entry, list.line_number(), "\"%s\" is neither a JPEG nor a TGA name",
                     word);
            }
            library.Append(std::move(entry));
            if (report_progress) ReportLoadProgress();
        }
        // Without its terminator the list ends with its data.
        if (!more) {
            Warn(list_entry, list.line_number(), "texture list ends without END_TEXT");
            return;
        }
    }
}

}  // namespace orv
