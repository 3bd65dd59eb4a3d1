#include "ui/userdialogs.h"

#include "platform/apperror.h"

#include <QFileInfo>

QStringList nameFiltersFromPipeFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& pattern : patterns)
            pattern = pattern.trimmed();
        const QString description = parts[i].trimmed();
        const QString shown =
            QStringLiteral("(") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
        // Descriptions often name their patterns already; show them once.
        filters.append(description.endsWith(shown) ? description
                                                   : description + QLatin1Char(' ') + shown);
    }
    return filters;
}

QString withDefaultExtension(const QString& fileName, const QString& extension) {
    if (fileName.isEmpty() || extension.isEmpty() || !QFileInfo(fileName).suffix().isEmpty())
        return fileName;
    return fileName + QLatin1Char('.') + extension;
}

bool runCommand(UserDialogs& dialogs, const std::function<void()>& command) {
    try {
        command();
        return true;
    } catch (const AppError& error) {
        dialogs.showError(error.message());
    } catch (const std::exception& error) {
        dialogs.showError(QString::fromLocal8Bit(error.what()));
    }
    return false;
}
