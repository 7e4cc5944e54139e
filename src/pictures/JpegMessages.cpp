#include "pictures/JpegMessages.h"

#include <cstdio>

#include <jpeglib.h>
#include <jerror.h>

namespace ssf {

namespace {

struct Reason {
  int code;
  const char* text;
};

// The faults a damaged or unusual file shows; libjpeg's internal faults keep the general text.
constexpr Reason kReasons[] = {
    {JWRN_JPEG_EOF, "файл кончается раньше, чем данные изображения"},
    {JERR_INPUT_EOF, "файл кончается раньше, чем данные изображения"},
    {JERR_INPUT_EMPTY, "файл пуст"},
    {JERR_NO_SOI, "это не файл JPEG: нет метки начала"},
    {JERR_SOI_DUPLICATE, "нарушена структура файла: две метки начала"},
    {JERR_SOF_DUPLICATE, "нарушена структура файла: два заголовка кадра"},
    {JERR_SOS_NO_SOF, "нарушена структура файла: скан раньше заголовка кадра"},
    {JERR_SOF_NO_SOS, "нарушена структура файла: кадр без скана"},
    {JERR_NO_IMAGE, "в файле нет изображения"},
    {JERR_EMPTY_IMAGE, "изображение пустое"},
    {JERR_EOI_EXPECTED, "лишние данные после изображения"},
    {JERR_BAD_LENGTH, "неверная длина блока"},
    {JERR_UNKNOWN_MARKER, "неизвестная метка"},
    {JERR_BAD_HUFF_TABLE, "испорчена таблица Хаффмана"},
    {JERR_NO_HUFF_TABLE, "нет нужной таблицы Хаффмана"},
    {JERR_HUFF_MISSING_CODE, "испорчена таблица Хаффмана"},
    {JERR_HUFF_CLEN_OVERFLOW, "испорчена таблица Хаффмана"},
    {JERR_DHT_INDEX, "неверный номер таблицы Хаффмана"},
    {JERR_NO_QUANT_TABLE, "нет нужной таблицы квантования"},
    {JERR_DQT_INDEX, "неверный номер таблицы квантования"},
    {JERR_MISMATCHED_QUANT_TABLE, "таблица квантования сменилась внутри изображения"},
    {JERR_BAD_COMPONENT_ID, "неверный номер цветовой составляющей"},
    {JERR_COMPONENT_COUNT, "слишком много цветовых составляющих"},
    {JERR_BAD_SAMPLING, "неверная частота выборки цвета"},
    {JERR_BAD_MCU_SIZE, "неверная частота выборки цвета"},
    {JERR_BAD_DCT_COEF, "коэффициент DCT вне допустимых значений"},
    {JERR_BAD_PROGRESSION, "неверные параметры прогрессивного скана"},
    {JERR_BAD_PRECISION, "неподдерживаемая точность отсчётов"},
    {JERR_BAD_J_COLORSPACE, "неверное цветовое пространство"},
    {JERR_CONVERSION_NOTIMPL, "неподдерживаемое преобразование цвета"},
    {JERR_SOF_UNSUPPORTED, "неподдерживаемый вид сжатия JPEG"},
    {JERR_ARITH_NOTIMPL, "арифметическое кодирование не поддерживается"},
    {JERR_NO_ARITH_TABLE, "нет таблицы арифметического кодирования"},
    {JERR_DAC_INDEX, "неверный номер таблицы арифметического кодирования"},
    {JERR_DAC_VALUE, "неверное значение таблицы арифметического кодирования"},
    {JERR_IMAGE_TOO_BIG, "изображение слишком велико"},
    {JERR_WIDTH_OVERFLOW, "изображение слишком широкое"},
    {JERR_OUT_OF_MEMORY, "недостаточно памяти"},
    {JERR_TOO_LITTLE_DATA, "записано меньше строк, чем в изображении"},
};

}  // namespace

std::string JpegMessageText(int code, const std::string& english) {
  const char* text = "ошибка в данных JPEG";
  for (const Reason& r : kReasons) {
    if (r.code == code) {
      text = r.text;
      break;
    }
  }
  return english.empty() ? std::string(text) : std::string(text) + " (" + english + ")";
}

}  // namespace ssf
