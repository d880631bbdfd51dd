#pragma once
// main() for the test programs: offscreen widgets, the application named as the program names
// itself, settings in a temporary folder, and a fresh scratch folder as current directory.

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#define VERBENO_TEST_MAIN(TestClass)                                                               \
    int main(int argc, char** argv) {                                                              \
        qputenv("QT_QPA_PLATFORM", "offscreen");                                                   \
        QTemporaryDir scratch;                                                                     \
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(scratch.filePath("config")));                 \
        QApplication app(argc, argv);                                                              \
        QApplication::setApplicationDisplayName("Verbeno");                                        \
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,                          \
                           scratch.filePath("config"));                                            \
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,                             \
                           scratch.filePath("config"));                                            \
        QDir().mkpath(scratch.filePath("work"));                                                   \
        QDir::setCurrent(scratch.filePath("work"));                                                \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
