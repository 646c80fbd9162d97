#include "runtime/language/runtime_error.h"

namespace rt {
namespace {

const char* Description(int number) {
  switch (number) {
    case kInvalidCall:
      return "プロシージャの呼び出しまたは引数が正しくありません。";
    case kOverflow:
      return "桁あふれが発生しました。";
    case kDivisionByZero:
      return "0 で除算しました。";
    case kTypeMismatch:
      return "型が一致しません。";
    case kElementMissing:
      return "コントロール配列の要素が存在しません。";
    case kAlreadyLoaded:
      return "オブジェクトは既に読み込まれています。";
    case kCannotUnloadDesignElement:
      return "デザイン時に作成されたコントロールはアンロードできません。";
    case kInvalidPropertyValue:
      return "プロパティの値が正しくありません。";
    default:
      return "アプリケーション定義またはオブジェクト定義のエラーです。";
  }
}

}  // namespace

RuntimeError::RuntimeError(int number)
    : std::runtime_error(ErrorMessage(number)), number_(number) {}

void Raise(int number) { throw RuntimeError(number); }

std::string ErrorMessage(int number) {
  return "実行時エラー '" + std::to_string(number) + "':\n\n" + Description(number);
}

}  // namespace rt
