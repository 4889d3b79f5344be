// photocheck-bench-decode: decodes each JPEG file named on the command line, the way the file check
// reads a photo, and prints one line per file. The floor that `photocheck-cli check` is compared with
// as a whole process.
#include <iostream>

#include "imaging/Jpeg.h"

int main(int argc, char** argv) {
    int status = 0;
    for (int i = 1; i < argc; ++i) {
        try {
            const photocheck::Bitmap bitmap = photocheck::decodeJpeg(argv[i]);
            std::cout << argv[i] << ' ' << bitmap.width() << 'x' << bitmap.height() << '\n';
        } catch (const std::exception& e) {
            std::cerr << argv[i] << ": " << e.what() << '\n';
            status = 1;
        }
    }
    return status;
}
