#include "Manager.h"

HINSTANCE Manager::m_hInstance = nullptr;
int Manager::m_language = 1033;

void Manager::SetInstance(HINSTANCE instance) { m_hInstance = instance; }
HINSTANCE Manager::GetInstance() { return m_hInstance; }

void Manager::SetLanguage(int language) { m_language = language; }
int Manager::GetLanguage() { return m_language; }
