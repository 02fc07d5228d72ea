// tabrel: the Palm Desktop to CSV conversion wizard.

#include <QApplication>
#include <QMessageBox>
#include <exception>

#include "TfmMain.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("Palm Desktop Tabrel Converter");
    try {
        tabrel::TfmMain window;
        window.show();
        return QApplication::exec();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, "Palm Desktop Tabrel Converter", error.what());
        return 1;
    }
}
