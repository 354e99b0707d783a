// Runs a link command and keeps what it prints in a file: with the linker's
// --trace, every library member linked in, which scripts/check-notices.py
// compares with the page's notices. Usage: node link-trace.mjs FILE COMMAND...
import { spawnSync } from 'node:child_process';
import { writeFileSync } from 'node:fs';

const [file, command, ...args] = process.argv.slice(2);
const link = spawnSync(command, args, { stdio: ['inherit', 'pipe', 'inherit'], encoding: 'utf8', maxBuffer: 64 << 20 });
writeFileSync(file, link.stdout ?? '');
process.exit(link.status ?? 1);
