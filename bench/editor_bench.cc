// The editor on a 5 MB template script: a full highlight pass, a keystroke, a page scroll and
// a search through the whole text.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>

#include "workbench/app/code_memo.h"
#include "workbench/app/highlight_classifier.h"
#include "workbench/app/main_form.h"
#include "workbench/app/message_boxes.h"

namespace {

using morva::app::TCodeMemo;

const char* const kChunk =
    "<COMMENT> One unit per table\n"
    "<TABLES>\n"
    "<CREATE>U<T>.pas</CREATE>\n"
    "unit U<T>;\n"
    "interface\n"
    "type\n"
    "  TForm<T> = class(TForm)\n"
    "<COLUMNS>\n"
    "    Label<C>: TLabel; { <CL> width <DISPSIZE> }\n"
    "    Edit<C>: TDBEdit;<EL>,</EL>\n"
    "</COLUMNS>\n"
    "  end;\n"
    "<EXPR><$Y> = <$Y> + 28 * <COUNT>;</EXPR>\n"
    "implementation\n"
    "end.\n"
    "<CLOSE>\n"
    "</TABLES>\n";

QString Script(int bytes) {
    const QString chunk = QString::fromLatin1(kChunk);
    QString text;
    text.reserve(bytes + chunk.size());
    while (text.size() < bytes) text += chunk;
    return text;
}

const QStringList kKeywords = {"unit", "interface", "type", "class", "end", "implementation"};

TCodeMemo* BigEditor() {
    static TCodeMemo* memo = [] {
        auto* m = new TCodeMemo;
        m->resize(900, 700);
        m->SetTokenColours(Qt::red, Qt::darkGreen, Qt::blue);
        m->SetKeywords(kKeywords);
        m->setPlainText(Script(5 << 20));
        m->show();
        return m;
    }();
    return memo;
}

void BM_ClassifyWholeScript(benchmark::State& state) {
    const QStringList lines = Script(5 << 20).split(u'\n');
    const morva::app::KeywordSet keywords(kKeywords.begin(), kKeywords.end());
    for (auto _ : state) {
        size_t tokens = 0;
        for (const QString& line : lines) tokens += morva::app::ClassifyLine(line, keywords).size();
        benchmark::DoNotOptimize(tokens);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * (5 << 20));
}
BENCHMARK(BM_ClassifyWholeScript)->Unit(benchmark::kMillisecond);

void BM_FullHighlight(benchmark::State& state) {
    TCodeMemo* memo = BigEditor();
    for (auto _ : state) memo->RehighlightAll();
}
BENCHMARK(BM_FullHighlight)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Keystroke(benchmark::State& state) {
    TCodeMemo* memo = BigEditor();
    memo->SetCaret(memo->document()->findBlockByNumber(150000).position() + 4);
    for (auto _ : state) {
        QTest::keyClick(memo, Qt::Key_X);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_Keystroke)->Unit(benchmark::kMicrosecond);

void BM_ScrollPage(benchmark::State& state) {
    TCodeMemo* memo = BigEditor();
    QScrollBar* bar = memo->verticalScrollBar();
    int step = 0;
    for (auto _ : state) {
        bar->setValue((step++ * 40) % bar->maximum());
        memo->viewport()->repaint();
    }
}
BENCHMARK(BM_ScrollPage)->Unit(benchmark::kMicrosecond);

void BM_FindNearTheEnd(benchmark::State& state) {
    TCodeMemo* memo = BigEditor();
    memo->moveCursor(QTextCursor::End);
    memo->insertPlainText(QStringLiteral("\nneedle"));
    for (auto _ : state) {
        const QTextCursor found =
            memo->document()->find(QStringLiteral("needle"), 0, QTextDocument::FindCaseSensitively);
        benchmark::DoNotOptimize(found.position());
    }
}
BENCHMARK(BM_FindNearTheEnd)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
