// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Prompts.h"

#include <QList>
#include <QQueue>

#include <functional>

// Answers every prompt from a script and records what was asked; an unscripted question
// is answered Ok (message) or with an empty path (cancelled file dialog).
class ScriptedPrompts final : public Prompts
{
public:
    ScriptedPrompts() { Prompts::install(this); }
    ~ScriptedPrompts() override { Prompts::install(nullptr); }

    QQueue<Answer> answers;
    QQueue<QString> files;
    QList<Message> messages;
    QList<FileRequest> fileRequests;
    std::function<void()> whileAsking; // what happens while a message is up

    Answer message(QWidget*, const Message& m) override
    {
        messages << m;
        if (whileAsking)
            whileAsking();
        return answers.isEmpty() ? Answer::Ok : answers.dequeue();
    }
    QString openFile(QWidget*, const FileRequest& r) override
    {
        fileRequests << r;
        return files.isEmpty() ? QString() : files.dequeue();
    }
    QString saveFile(QWidget* parent, const FileRequest& r) override { return openFile(parent, r); }

    QStringList texts() const
    {
        QStringList t;
        for (const Message& m : messages)
            t << m.text;
        return t;
    }
    void clear()
    {
        messages.clear();
        fileRequests.clear();
    }
};
