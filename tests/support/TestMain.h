#pragma once
// main() for the test programs: offscreen widgets, the application named as the program names
// itself, settings in a temporary folder, and a fresh scratch folder as current directory.

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

// The same with an application object of type App, and `setUp` run on it (named `app`) first.
#define VERBENO_TEST_MAIN_WITH(TestClass, App, setUp)                                              \
    int main(int argc, char** argv) {                                                              \
        qputenv("QT_QPA_PLATFORM", "offscreen");                                                   \
        QTemporaryDir scratch;                                                                     \
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(scratch.filePath("config")));                 \
        App app(argc, argv);                                                                       \
        setUp;                                                                                     \
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,                          \
                           scratch.filePath("config"));                                            \
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,                             \
                           scratch.filePath("config"));                                            \
        QDir().mkpath(scratch.filePath("work"));                                                   \
        QDir::setCurrent(scratch.filePath("work"));                                                \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }

#define VERBENO_TEST_MAIN(TestClass)                                                               \
    VERBENO_TEST_MAIN_WITH(TestClass, QApplication,                                                \
                           QApplication::setApplicationDisplayName("Verbeno"))
