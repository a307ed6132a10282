// The application object. It catches what an event handler throws, so that an
// unexpected error shows a message instead of ending the program.
#pragma once

#include <QApplication>

class TxApplication : public QApplication {
  Q_OBJECT

 public:
  TxApplication(int& argc, char** argv);
  bool notify(QObject* pReceiver, QEvent* pEvent) override;
};

// The standard message for an exception: its text (empty for an exception
// that carries none), captioned with the application title.
void ShowExceptionMessage(const QString& strMessage);
