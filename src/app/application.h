#pragma once

#include <QApplication>

/// The application object.
class VantrelApplication : public QApplication {
    Q_OBJECT
public:
    VantrelApplication(int& argc, char** argv);

    /// The application title: the first part of every window caption.
    static QString title() { return QStringLiteral("Vantrel"); }
};
