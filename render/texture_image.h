#pragma once
// The one texture resource: a pixel image (RGB, RGBA or one 8-bit channel)
// with the OpenGL texture object made from it and its sampling parameters.
// Every upload needs a current OpenGL context on the calling thread (the
// main one, or a loader thread's shared one).

#include <memory>
#include <string>
#include <vector>

#include "persist/persistent.h"
#include "render/gl_api.h"
#include "render/image_file.h"

class TextureImage : public persistent {
public:
    static constexpr const char* kClassName = "class TextureImage";

    enum Flag : GLuint {
        Compress = 1,  // compressed internal format where the driver has one
        NoMipmap = 2,  // one level only; minFilter becomes GL_LINEAR
        Alpha = 4,     // an 8-bit image is an alpha mask, not luminance
    };

    TextureImage() = default;
    // Each takes the image, adds Compress to `flags` and uploads at once.
    TextureImage(ImageRGBA* image, GLuint flags);
    TextureImage(ImageRGB* image, GLuint flags);
    TextureImage(Image8* image, GLuint flags);
    ~TextureImage() override;
    TextureImage(const TextureImage&) = delete;
    TextureImage& operator=(const TextureImage&) = delete;

    // Each takes the image (replacing the one in its own slot) and replaces
    // the texture object. RGB images are scaled down to power-of-two sides;
    // RGBA and 8-bit images are uploaded at their size (see
    // nonPowerOfTwoSupported). A file-backed image (non-empty name) gives its
    // pixels up after the upload.
    void uploadRGBA(ImageRGBA* image);
    void uploadRGB(ImageRGB* image);
    void uploadGray(Image8* image);

    // Makes the texture object of an upload that was queued on a loader
    // thread (deferUploadsOnThisThread) with the calling thread's context;
    // nothing when none waits.
    void finishUpload();
    bool uploadWaiting() const { return waiting_.queued; }

    // gray if set, else rgb, else rgba; null before the first upload. Its
    // width and height are what brushes size and map quads with.
    const PixelImage* currentImage() const;

    // Parameters, flags, then each image present as raw pixels (images
    // without a name) or as the bytes of its file. Reading uploads each image
    // as it arrives. Throws persistent::exception on records the stream
    // cannot hold. An embedded picture that does not decode is logged and
    // kept without pixels: surfaces that use it are drawn untextured.
    void serialize(pstream& stream, bool write) override;
    const char* class_name() const override { return kClassName; }

    std::unique_ptr<ImageRGBA> rgba;
    std::unique_ptr<ImageRGB> rgb;
    std::unique_ptr<Image8> gray;
    std::string name;  // source path; set by the scene importer
    GLuint texture = 0;
    GLenum format = 0;  // pixel format of the last RGBA upload
    bool hasAlpha = false;
    GLenum magFilter = GL_LINEAR;
    GLenum minFilter = GL_LINEAR_MIPMAP_LINEAR;
    GLenum wrapS = GL_REPEAT;
    GLenum wrapT = GL_REPEAT;
    float maxAnisotropy = 1.0f;
    GLuint flags = 0;
    // Picture pixels per layout pixel: brushes that draw a picture at its
    // own size or one to one on screen divide by it. Not stored.
    unsigned detail = 1;

private:
    struct Formats {
        GLenum plain;
        GLenum compressed;
        GLenum pixel;
    };
    // An upload prepared but not yet given to OpenGL.
    struct Upload {
        Formats formats{};
        GLsizei width = 0, height = 0;
        const void* pixels = nullptr;
        float anisotropy = 1.0f;
        PixelImage* image = nullptr;  // gives its pixels up afterwards when file-backed
        bool queued = false;
    };
    void upload(const Upload& upload);
    void uploadNowOrQueue(const Upload& upload);
    void deleteTexture();

    Upload waiting_;
};

// From now on every upload on the calling thread only prepares its pixels
// and joins `queue` (null: uploads happen at once again). A loader thread
// uses it so that the main thread makes the texture objects a few at a
// time: an upload on a shared context holds the driver's texture lock,
// stalling the frame being drawn until the upload and its mipmaps are done.
void deferUploadsOnThisThread(std::vector<TextureImage*>* queue);

// The largest power of two not above n (800 -> 512, 1 -> 1).
GLuint powerOfTwoAtMost(GLuint n);
bool isPowerOfTwo(GLuint n);

// True when the current context takes textures whose sides are not powers of
// two (OpenGL 2.0, or GL_ARB_texture_non_power_of_two).
bool nonPowerOfTwoSupported();
// True when an RGBA or 8-bit image can be uploaded at its size here.
bool uploadableSides(const PixelImage& image);
