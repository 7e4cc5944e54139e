#include "ifeg/IfegFile.h"

#include <string>

#include "ifeg/Ifeg.h"
#include "pictures/Bmp.h"
#include "base/FileIO.h"
#include "base/SsfError.h"
#include "platform/PathText.h"

namespace ssf {

void IFGFileToBmp(const std::filesystem::path& source, const std::filesystem::path& target) {
  const Bytes data = ReadWholeFile(source);
  Image picture;
  try {
    if (!IsIfgData(data)) throw SsfError("Файл не является IFEG-изображением (нет подписи IFEG)");
    DecodeIFG(data, picture);
  } catch (const SsfError& e) {
    throw SsfError(std::string(e.what()) + ": " + Utf8FromPath(source));
  }
  WriteFileAtomic(target, EncodeBmp(picture));
}

void BmpFileToIFG(const std::filesystem::path& source, const std::filesystem::path& target) {
  const Bytes data = ReadWholeFile(source);
  Bytes ifg;
  try {
    ifg = EncodeIFG(DecodeBmp(data), 16, 1);
  } catch (const SsfError& e) {
    throw SsfError(std::string(e.what()) + ": " + Utf8FromPath(source));
  }
  WriteFileAtomic(target, ifg);
}

}  // namespace ssf
