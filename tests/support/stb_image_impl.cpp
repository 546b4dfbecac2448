// The image decoder the tests read PNG files back with (a single-header library).
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb/stb_image.h>
