#include "dialogs/exportdialog.h"

#include "dialogs/prompt.h"
#include "model/recordio.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

namespace {
template<typename Widget>
Widget* named(Widget* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QComboBox* editableCombo(const char* name, const QStringList& presets, const QString& value)
{
    auto* combo = named(new QComboBox, name);
    combo->setEditable(true);
    combo->addItems(presets);
    combo->setCurrentText(value);
    return combo;
}

QPlainTextEdit* codeEdit()
{
    auto* edit = named(new QPlainTextEdit, "textEdit");
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::Monospace);
    edit->setFont(font);
    edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    return edit;
}
}

ExportDialog::ExportDialog(const ExportDataOptions& options, const QList<Flag>& flags, Comments comments,
                           Generator generate, QWidget* parent)
    : QDialog(parent)
    , generate(std::move(generate))
    , refresh(new QTimer(this))
    , base(options)
    , textEdit(codeEdit())
    , lblStatus(named(new QLabel, "lblStatus"))
    , spxIndentSpaces(named(new QSpinBox, "spxIndentSpaces"))
    , spxDataPerLine(named(new QSpinBox, "spxDataPerLine"))
    , cbxDataPrefix(editableCombo("cbxDataPrefix", {QStringLiteral("!byte"), QStringLiteral(".byte")}, options.dataPrefix))
    , cbxBase(named(new QComboBox, "cbxBase"))
    , cbxHexPrefix(editableCombo("cbxHexPrefix", {QStringLiteral("$"), QStringLiteral("0x")}, options.hexPrefix))
    , cbxSeparator(editableCombo("cbxSeparator", {QStringLiteral(", "), QStringLiteral(" ")}, options.separator))
    , cbxComments(editableCombo("cbxComments",
                                comments == Comments::Presets ? QStringList {QStringLiteral(";"), QStringLiteral("//")}
                                                              : QStringList(),
                                options.commentPrefix))
{
    setWindowTitle(QStringLiteral("Export data"));
    resize(724, 450);
    refresh->setSingleShot(true);
    refresh->setInterval(0);
    connect(refresh, &QTimer::timeout, this, &ExportDialog::exportData);
    spxIndentSpaces->setRange(0, 256);
    spxIndentSpaces->setValue(options.indentSpaces);
    spxDataPerLine->setRange(1, 2048);
    spxDataPerLine->setValue(options.dataPerLine);
    cbxBase->addItem(QStringLiteral("Dec"), 10);
    cbxBase->addItem(QStringLiteral("Hex"), 16);
    cbxBase->setCurrentIndex(options.base == ExportDataOptions::NumberBase::Hex ? 1 : 0);

    auto* data = new QGroupBox(QStringLiteral("Data"));
    auto* dataLayout = new QVBoxLayout(data);
    dataLayout->addWidget(textEdit);
    dataLayout->addWidget(lblStatus);

    auto* optionsBox = new QGroupBox(QStringLiteral("Options"));
    auto* form = new QFormLayout(optionsBox);
    form->addRow(QStringLiteral("Indent spaces:"), spxIndentSpaces);
    form->addRow(QStringLiteral("Data per line:"), spxDataPerLine);
    form->addRow(QStringLiteral("Data prefix:"), cbxDataPrefix);
    form->addRow(QStringLiteral("Base:"), cbxBase);
    form->addRow(QStringLiteral("Hex prefix:"), cbxHexPrefix);
    form->addRow(QStringLiteral("Separator:"), cbxSeparator);
    if (comments != Comments::None)
        form->addRow(QStringLiteral("Comments:"), cbxComments);
    else
        cbxComments->hide();
    for (const Flag& flag : flags) {
        auto* box = named(new QCheckBox(QLatin1String(flag.text)), flag.objectName);
        box->setChecked(options.*flag.field);
        flagBoxes.append({box, flag.field});
        form->addRow(box);
        connect(box, &QCheckBox::stateChanged, refresh, QOverload<>::of(&QTimer::start));
    }

    auto* copy = named(new QPushButton(QStringLiteral("Copy to clipboard")), "btnCopyToClipboard");
    copy->setToolTip(QStringLiteral("Copy all the text to the clipboard."));
    auto* save = named(new QPushButton(QStringLiteral("Save to file...")), "btnSaveToFile");
    save->setToolTip(QStringLiteral("Write the text to an assembler source file."));
    auto* ok = named(new QPushButton(QStringLiteral("OK")), "okButton");
    ok->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(copy);
    buttons->addWidget(save);
    buttons->addStretch();
    buttons->addWidget(ok);

    auto* columns = new QHBoxLayout;
    columns->addWidget(data, 1);
    columns->addWidget(optionsBox);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addLayout(buttons);

    const auto later = QOverload<>::of(&QTimer::start);
    connect(spxIndentSpaces, QOverload<int>::of(&QSpinBox::valueChanged), refresh, later);
    connect(spxDataPerLine, QOverload<int>::of(&QSpinBox::valueChanged), refresh, later);
    connect(cbxBase, QOverload<int>::of(&QComboBox::currentIndexChanged), refresh, later);
    for (QComboBox* combo : {cbxDataPrefix, cbxHexPrefix, cbxSeparator, cbxComments})
        connect(combo, &QComboBox::currentTextChanged, refresh, later);
    connect(copy, &QPushButton::clicked, this, &ExportDialog::copyToClipboard);
    connect(save, &QPushButton::clicked, this, &ExportDialog::saveToFile);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    exportData();
}

ExportDataOptions ExportDialog::options() const
{
    ExportDataOptions options = base;
    options.indentSpaces = spxIndentSpaces->value();
    options.dataPerLine = spxDataPerLine->value();
    options.dataPrefix = cbxDataPrefix->currentText();
    options.base = cbxBase->currentText() == QLatin1String("Hex") ? ExportDataOptions::NumberBase::Hex
                                                                  : ExportDataOptions::NumberBase::Dec;
    options.hexPrefix = cbxHexPrefix->currentText();
    options.separator = cbxSeparator->currentText();
    options.commentPrefix = cbxComments->currentText();
    for (const auto& [box, field] : flagBoxes)
        options.*field = box->isChecked();
    return options;
}

QString ExportDialog::text() const
{
    return textEdit->toPlainText();
}

void ExportDialog::exportData()
{
    refresh->stop();
    const QString text = generate(options());
    textEdit->setPlainText(text);
    lblStatus->setText(QStringLiteral("%1 lines").arg(text.count(QLatin1Char('\n')) + (text.isEmpty() ? 0 : 1)));
}

void ExportDialog::copyToClipboard()
{
    QClipboard* clipboard = QApplication::clipboard();
    clipboard->setText(text(), QClipboard::Clipboard);
    if (clipboard->supportsSelection())
        clipboard->setText(text(), QClipboard::Selection);
}

void ExportDialog::saveToFile()
{
    const QString file = Prompt::getSaveFileName(this, QStringLiteral("Save data..."),
                                                 QStringLiteral("Assembler source (*.asm *.s *.inc *.txt)"));
    if (!file.isEmpty() && !Files::writeSafely(file, text().toUtf8()))
        Prompt::critical(this, QStringLiteral("Error!"), QStringLiteral("Unable to save the file \"%1\"!").arg(file));
}

ImportDataDialog::ImportDataDialog(const QString& text, QWidget* parent)
    : QDialog(parent)
    , textEdit(codeEdit())
{
    setWindowTitle(QStringLiteral("Import data"));
    resize(724, 450);
    textEdit->setPlainText(text);
    auto* data = new QGroupBox(QStringLiteral("Data"));
    (new QVBoxLayout(data))->addWidget(textEdit);
    auto* import = named(new QPushButton(QStringLiteral("Import")), "btnImport");
    auto* cancel = named(new QPushButton(QStringLiteral("Cancel")), "cancelButton");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(import);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(data, 1);
    layout->addLayout(buttons);
    connect(import, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString ImportDataDialog::text() const
{
    return textEdit->toPlainText();
}
