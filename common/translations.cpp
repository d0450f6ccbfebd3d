#include "translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLoggingCategory>
#include <QTranslator>

Q_LOGGING_CATEGORY(lcTranslations, "lorvane.common.translations")

QLocale ProductLocale()
{
    return QLocale(QLocale::Chinese, QLocale::SimplifiedHanScript, QLocale::China);
}

QString ProductWebLanguage()
{
    return QStringLiteral("zh-CN");
}

int InstallQtTranslations(QCoreApplication* app, const QLocale& locale, const QString& folder)
{
    if (!app)
        return 0;
    const QString dir = folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : folder;
    int installed = 0;
    for (const char* catalogue : {"qtbase", "qtwebengine"}) {
        // Owned by the application, so it lives as long as the texts it translates.
        auto* translator = new QTranslator(app);
        if (translator->load(locale, QString::fromLatin1(catalogue), QStringLiteral("_"), dir)
            && QCoreApplication::installTranslator(translator)) {
            ++installed;
            continue;
        }
        qCWarning(lcTranslations) << "no" << catalogue << "translation for" << locale.name() << "in" << dir
                                  << "- its texts stay in English";
        delete translator;
    }
    return installed;
}

void RequestEngineLanguage()
{
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (flags.contains("--lang="))
        return;
    if (!flags.isEmpty())
        flags += ' ';
    flags += "--lang=" + ProductWebLanguage().toLatin1();
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
}
