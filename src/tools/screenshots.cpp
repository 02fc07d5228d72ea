// tabrel-screenshots: takes the README's screenshots. It starts the real wizard on the
// offscreen platform over a Palm Desktop folder (the demo folder), walks it through a
// conversion of the Contacts to CSV (mode, source, field, record and finish pages), opens
// the debug options and crash dialogs, and saves each with QWidget::grab() as
// <OUT>/<name>.png.
//
//   tabrel-screenshots --palm-folder demo/palm --out docs/screenshots
//
// The user's own settings are left alone: the run has a settings folder of its own (in the
// temporary folder), which also receives the CSV file, and is removed at the end. Message boxes
// that appear are answered with their default button and reported on standard error.

#include <stdlib.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCommandLineParser>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QTimer>
#include <QTreeWidget>
#include <cstdio>
#include <ctime>
#include <functional>

#include "gui/TfmDebug.h"
#include "gui/TfmDump.h"
#include "gui/TfmMain.h"
#include "palm/desktop/PalmDesktop.h"

namespace {

using namespace tabrel;

QString g_outFolder;
int g_failures = 0;

void Settle() {
    for (int i = 0; i < 5; ++i) {
        QApplication::processEvents();
    }
}

void Save(QWidget& widget, const char* name) {
    Settle();
    const QString path = QDir(g_outFolder).filePath(QString(name) + ".png");
    if (widget.grab().save(path)) {
        std::printf("%s\n", qPrintable(path));
    } else {
        std::fprintf(stderr, "Cannot save %s\n", qPrintable(path));
        ++g_failures;
    }
}

// The control called name under root, of type T; reported when it is missing.
template <class T>
T* Control(const QObject& root, const char* name) {
    T* control = root.findChild<T*>(name);
    if (control == nullptr) {
        std::fprintf(stderr, "No control %s on this page\n", name);
    }
    return control;
}

void Click(const QObject& root, const char* name) {
    if (auto* button = Control<QAbstractButton>(root, name)) {
        button->click();
    }
}

void Tick(const QObject& root, const char* name) {
    if (auto* button = Control<QAbstractButton>(root, name)) {
        button->setChecked(true);
    }
}

// Ticks the entries of the Available list called by the names; answers how many.
int TickFields(const QObject& page, const QStringList& names) {
    auto* available = Control<QTreeWidget>(page, "lvAll");
    if (available == nullptr) {
        return 0;
    }
    int ticked = 0;
    for (int i = 0; i < available->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = available->topLevelItem(i);
        if (names.contains(item->text(0))) {
            item->setCheckState(0, Qt::Checked);
            ++ticked;
        }
    }
    return ticked;
}

// Every modal message box is answered as soon as it shows.
void AnswerMessageBoxes(QTimer& timer) {
    timer.setInterval(20);
    QObject::connect(&timer, &QTimer::timeout, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box != nullptr && box->isVisible()) {
            std::fprintf(stderr, "Message \"%s\": %s\n", qPrintable(box->windowTitle()),
                         qPrintable(box->text()));
            box->done(QMessageBox::Ok);
        }
    });
    timer.start();
}

// Runs open, which shows a modal dialog; the dialog is saved as name and closed.
void SaveModal(const char* name, const std::function<void()>& open) {
    QTimer timer;
    timer.setInterval(20);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog != nullptr && qobject_cast<QMessageBox*>(dialog) == nullptr &&
            dialog->isVisible()) {
            timer.stop();
            Save(*dialog, name);
            dialog->reject();
        }
    });
    timer.start();
    open();
}

// The position of the progress page among the window's forms.
constexpr int kProcForm = 7;

void Walk(TfmMain& window, const QString& csvFile) {
    TfmPage* page = window.GetShownPage();
    Tick(*page, "rbtnP2C");
    Tick(*page, "rbtnAddr");
    Save(window, "mode");

    Click(window, "btnNext");
    page = window.GetShownPage();
    Tick(*page, "rbtnPDUser");
    if (auto* users = Control<QComboBox>(*page, "cbUser"); users != nullptr && users->count() > 0) {
        users->setCurrentIndex(0);
    }
    if (auto* csv = Control<QLineEdit>(*page, "edtCSVFile")) {
        csv->setText(csvFile);
    }
    Tick(*page, "rbtnQuoteDouble");
    Tick(*page, "rbtnOverwrite");
    Tick(*page, "cbAddTitle");
    Save(window, "source");

    Click(window, "btnNext");
    page = window.GetShownPage();
    if (TickFields(*page, {"First Name", "Last Name", "Company", "Work Phone", "Mobile Phone",
                           "E-Mail", "Category"}) == 0) {
        Click(*page, "btnAllSel");
    }
    Click(*page, "btnSel");
    Save(window, "fields");

    Click(window, "btnNext");
    page = window.GetShownPage();
    Click(*page, "btnSelAll");
    Save(window, "records");
    if (auto* list = Control<QTreeWidget>(*page, "lvAddrData");
        list != nullptr && list->topLevelItemCount() > 0) {
        list->setCurrentItem(list->topLevelItem(0));
        SaveModal("contact-detail", [&] { Click(*page, "btnAddrDetail"); });
    }

    // The pass runs inside Next; the progress page is saved from the pause it makes after
    // the last record, before the finish page is shown.
    bool progressSaved = false;
    QTimer progress;
    progress.setInterval(10);
    QObject::connect(&progress, &QTimer::timeout, [&] {
        if (!progressSaved && window.GetShownPage() == window.GetPage(kProcForm)) {
            progressSaved = true;
            Save(window, "progress");
        }
    });
    progress.start();
    Click(window, "btnNext");
    progress.stop();
    if (!progressSaved) {
        std::fprintf(stderr, "The progress page was not seen.\n");
        ++g_failures;
    }
    Save(window, "finish");
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // The demo's times are UTC times.
    setenv("TZ", "UTC", 1);
    tzset();
    QApplication application(argc, argv);
    QApplication::setApplicationName("tabrel-screenshots");

    QCommandLineParser parser;
    parser.setApplicationDescription("Takes the screenshots of the Tabrel wizard.");
    parser.addHelpOption();
    const QCommandLineOption palmFolder("palm-folder", "The Palm Desktop folder to show.", "PATH");
    const QCommandLineOption outFolder("out", "Where the images go.", "DIR");
    parser.addOption(palmFolder);
    parser.addOption(outFolder);
    parser.process(application);
    if (!parser.isSet(palmFolder) || !parser.isSet(outFolder)) {
        std::fprintf(stderr, "Both --palm-folder and --out are needed.\n");
        return 2;
    }
    g_outFolder = parser.value(outFolder);
    if (!QDir().mkpath(g_outFolder)) {
        std::fprintf(stderr, "Cannot create %s\n", qPrintable(g_outFolder));
        return 1;
    }
    SetPalmDesktopFolder(QDir(parser.value(palmFolder)).absolutePath().toStdString());

    // A folder of a fixed name, so that the paths the pages show are the same on every run.
    QDir home(QDir::temp().filePath("tabrel-screenshots"));
    home.removeRecursively();
    if (!home.mkpath(".")) {
        std::fprintf(stderr, "Cannot create %s\n", qPrintable(home.path()));
        return 1;
    }
    qputenv("XDG_CONFIG_HOME", home.filePath("config").toLocal8Bit());
    qputenv("WINEPREFIX", home.filePath("wine").toLocal8Bit());

    QTimer answering;
    AnswerMessageBoxes(answering);
    {
        TfmMain window;
        window.show();
        Settle();
        Walk(window, home.filePath("contacts.csv"));
        SaveModal("debug-options", [&] { ShowDebugOptions(window.State(), &window); });
        SaveModal("crash", [&] { ShowCrashDialog(window.State(), &window); });
    }
    answering.stop();
    home.removeRecursively();
    return g_failures == 0 ? 0 : 1;
}
