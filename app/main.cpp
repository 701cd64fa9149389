#include <QApplication>
#include <QLabel>

// Until the main window exists the program opens a placeholder window.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Twinfold for Windows");
    QLabel placeholder("Twinfold");
    placeholder.setWindowTitle("Twinfold for Windows");
    placeholder.resize(320, 120);
    placeholder.show();
    return QApplication::exec();
}
