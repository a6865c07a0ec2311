// TGA textures: slot table, loader, selector.
#include "texture/tga_texture.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdlib>

#include "texture/bmp_texture.h"
#include "texture/byte_file.h"

namespace ziru::texture {

runtime::BoundedArray<TGATEXTURE, 0, 200> TEXTURETGA2;

void TEXTURELOADTGAID(const std::string& TGAFILE, std::int32_t NUM) {
    if (!FileExists(TGAFILE.c_str())) return;
    TGATEXTURE& slot = TEXTURETGA2[NUM];
    if (!LOADTGA(slot, TGAFILE)) return;
    glEnable(GL_TEXTURE_2D);
    GLuint name = 0;
    glGenTextures(1, &name);
    slot.TEXID = name;
    glBindTexture(GL_TEXTURE_2D, slot.TEXID);

    // 24-bit rows are packed tightly; unless WIDTH x 3 happens to be a
    // multiple of 4 they need a row alignment of 1, for the base level and
    // the mipmap builder alike. The caller's alignment comes back after.
    GLint alignment = 4;
    const bool packedRows = (std::uint64_t{slot.WIDTH} * (slot.BPP / 8)) % 4 != 0;
    if (packedRows) {
        glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    }
    const GLint components = static_cast<GLint>(slot.BPP / 8);
    const auto width = static_cast<GLsizei>(slot.WIDTH);
    const auto height = static_cast<GLsizei>(slot.HEIGHT);
    glTexImage2D(GL_TEXTURE_2D, 0, components, width, height, 0, slot.TYP, GL_UNSIGNED_BYTE,
                 slot.IMAGEDATA);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_MIN_FILTER);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_MAG_FILTER);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    if (IsMipmapFilter(GL_MIN_FILTER)) {
        if (slot.BPP == 24) {
            ADDMIPMAPSTEXTURE(24, width, height, slot.IMAGEDATA);
        } else {
            gluBuild2DMipmaps(GL_TEXTURE_2D, components, width, height, slot.TYP, GL_UNSIGNED_BYTE,
                              slot.IMAGEDATA);
        }
    }
    if (packedRows) glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    std::free(slot.IMAGEDATA);
    slot.IMAGEDATA = nullptr;
}

void TEXTURETGASELECTID(std::int32_t NUM) {
    glBindTexture(GL_TEXTURE_2D, TEXTURETGA2[NUM].TEXID);
}

}  // namespace ziru::texture
