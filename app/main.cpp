#include <QApplication>

#include "app/Startup.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    photocheck::prepareApplication(app);
    return photocheck::runDesktop(photocheck::parseCommandLine(app));
}
