// Textures: every picture of the scene is a mipmapped OpenGL texture made from a JPEG or TGA
// entry under "textures\" in the data archive. The texture list "texture.txt" names the
// pictures loaded at start-up; scene objects find them by full archive path.
//
// Everything here except FindTexture needs a current OpenGL context.
#pragma once

#include <GL/gl.h>

#include <cstddef>
#include <memory>
#include <vector>

namespace orv {

// "textures\" followed by a file name of at most 22 characters, NUL-terminated.
constexpr size_t kTexturePathSize = 32;
constexpr char kTextureFolder[] = "textures\\";

class TextureEntry {
  public:
    virtual ~TextureEntry() = default;

    GLuint id = 0;                     // 0 when the entry has no picture
    char path[kTexturePathSize] = {};  // full archive path, e.g. "textures\c.jpg"
};

// The loaded textures in list order. Entries are only ever appended; they live as long as the
// library does.
class TextureLibrary {
  public:
    TextureEntry& Append(std::unique_ptr<TextureEntry> entry);
    size_t size() const { return entries_.size(); }
    TextureEntry& operator[](size_t i) const { return *entries_[i]; }

  private:
    std::vector<std::unique_ptr<TextureEntry>> entries_;
};

// The process-wide library that the scene's texture list fills and scene objects search.
TextureLibrary& SceneTextures();

// The first entry whose path equals `path` byte for byte (case-sensitive); null when none.
TextureEntry* FindTexture(const TextureLibrary& library, const char* path);

// Reads the texture list entry `list_entry` and appends one entry per listed picture, in order,
// calling ReportLoadProgress() after each when `report_progress` is set. Each line names one
// picture by its first word; a line starting with "END_TEXT" ends the list.
void LoadTextureList(TextureLibrary& library, const char* list_entry, bool report_progress);

// Sets entry.path to "textures\" + file_name and loads that picture into entry.id: names
// ending in "jpg" or "JPG" are JPEG, "tga" or "TGA" are TGA; any other name gets no picture.
void LoadTextureImage(TextureEntry& entry, const char* file_name);

// Decodes the TGA entry and uploads it as RGBA; 0 on failure.
GLuint LoadTgaTexture(const char* entry_name);

// Creates a texture object from `pixels` (rows packed with no padding) with a full mipmap
// chain and trilinear minification; the new texture stays bound. 0, with a warning naming
// `entry_name`, when it cannot be built.
GLuint UploadMipmappedTexture(const char* entry_name, int components, int width, int height,
                              GLenum format, const unsigned char* pixels);

}  // namespace orv
