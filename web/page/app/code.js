// Loads the project's C++ code, compiled to WebAssembly: the tables' layout,
// names and captions, and the session that holds the image.
import createVarnel from '../varnel.mjs';

export async function loadCode() {
  const code = await createVarnel();
  return { tables: code.tables(), session: new code.Session() };
}
