#include <QApplication>
#include <QFont>

#include <cstdlib>

#include "app/qt_window.h"

int main(int argc, char** argv) {
  tarvik::init_global_tables();
  std::atexit(tarvik::free_global_tables);

  QApplication application(argc, argv);
  QFont font("WenQuanYi Micro Hei");
  font.setPixelSize(12);  // the buttons are 16 pixels high
  QApplication::setFont(font);

  tarvik::QtWindow window;
  window.show();
  return QApplication::exec();
}
