#pragma once

#include "platform/Printers.h"

#include <QFile>
#include <QStringList>

// Printers for tests: a fixed list, a default, and the files "printed" kept in memory.
class FakePrinters : public Printers::Backend {
public:
    FakePrinters(QStringList names, QString defaultPrinter)
        : queues(std::move(names)), defaultName(std::move(defaultPrinter))
    {
        Printers::setBackend(this);
    }
    ~FakePrinters() override { Printers::setBackend(nullptr); }

    Printers::Destinations destinations() override
    {
        ++queries;
        return {queues, defaultName};
    }
    int printFile(const QString& printer, const QString& pdfPath, const QString& title,
                  QString* error) override
    {
        if (!refusal.isEmpty()) {
            *error = refusal;
            return 0;
        }
        QFile file(pdfPath);
        if (!file.open(QIODevice::ReadOnly))
            return 0;
        jobs.append({printer, title, file.readAll()});
        return static_cast<int>(jobs.size());
    }

    struct Job {
        QString printer;
        QString title;
        QByteArray pdf;
    };
    QStringList queues;
    QString defaultName;
    QString refusal;
    QList<Job> jobs;
    int queries = 0;
};
