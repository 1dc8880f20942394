// net/data_buffer_load.cpp: data buffers filled from files through the host,
// kept apart so that only programs which load files need the host library.
#include <cstdlib>

#include "host/game.h"
#include "net/data_buffer.h"

bool RkDataBuffer::_Load(String path) {
  if (data || !RkGame::_game) return false;
  int size = 0;
  unsigned char* bytes = RkGame::_game->LoadData(path, &size);
  if (!bytes) return false;
  if (_New(size, bytes)) return true;
  free(bytes);
  return false;
}

c_DataBuffer* c_DataBuffer::m_Load(String path) {
  c_DataBuffer* buffer = new c_DataBuffer();
  return buffer->_Load(path) ? buffer : nullptr;
}
