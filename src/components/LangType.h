#pragma once

// The language of a component's own messages and texts.
enum TLangType { ltFrench, ltEnglish };
