#include "messagebox.h"
#include "messagerecorder.h"

#include <QtTest>

class TestMessageBox : public QObject
{
    Q_OBJECT

private slots:
    void recorderSeesEveryBoxAndAnswers()
    {
        MessageRecorder recorder;
        recorder.answerNext(MsgResult::Yes);
        QCOMPARE(showMessage(nullptr, QStringLiteral("设置密码成功,是否立刻启动管理后台?"), QStringLiteral("询问"),
                             MsgIcon::Question, MsgButtons::YesNo),
                 MsgResult::Yes);
        // With no answer queued a question is answered No and a notice Ok.
        QCOMPARE(showMessage(nullptr, QStringLiteral("q"), QStringLiteral("询问"), MsgIcon::Question, MsgButtons::YesNo),
                 MsgResult::No);
        QCOMPARE(showMessage(nullptr, QStringLiteral("密码不能为空!"), QStringLiteral("错误:"), MsgIcon::Error),
                 MsgResult::Ok);
        QCOMPARE(recorder.count(), 3);
        QCOMPARE(recorder.boxes().first().caption, QStringLiteral("询问"));
        QCOMPARE(recorder.last().text, QStringLiteral("密码不能为空!"));
        QCOMPARE(recorder.last().icon, MsgIcon::Error);
    }

    void recordersNestAndRestore()
    {
        MessageRecorder outer;
        {
            MessageRecorder inner;
            showMessage(nullptr, QStringLiteral("inner"), QStringLiteral("c"));
            QCOMPARE(inner.count(), 1);
        }
        showMessage(nullptr, QStringLiteral("outer"), QStringLiteral("c"));
        QCOMPARE(outer.count(), 1);
        QCOMPARE(outer.last().text, QStringLiteral("outer"));
    }
};

QTEST_MAIN(TestMessageBox)
#include "tst_messagebox.moc"
