// What the extension sends to korvo: command lines and the core setting in
// the form each server takes it. Nothing here needs VS Code, so that the
// tests can load it in plain Node.

// The values of `korvo asm --core`; the empty string leaves each file its
// remembered core.
export const coreNames = ['I', 'II', '3', 'CR', '6'] as const;

export interface KorvoSettings {
    path: string;
    core: string;
}

// A task of type "korvo": one run of korvo asm.
export interface AsmTaskDefinition {
    file: string;
    core?: string;
    args?: string[];
}

// The arguments of `korvo asm` for a task; the task's own core wins over the
// setting. The source comes after "--", so that no file name is taken for an
// option.
export function asmArguments(task: AsmTaskDefinition, settings: KorvoSettings): string[] {
    const core = task.core || settings.core;
    return ['asm', ...(core ? ['--core', core] : []), ...(task.args ?? []), '--', task.file];
}

// The language server's initializationOptions: a core only when the setting
// overrides the per-file choice.
export function initializationOptions(settings: KorvoSettings): { core?: string } {
    return settings.core ? { core: settings.core } : {};
}

// The parameters of workspace/didChangeConfiguration after the core setting
// changed; an empty core gives the files their remembered cores back.
export function configurationChange(settings: KorvoSettings): {
    settings: { korvo: { core: string } };
} {
    return { settings: { korvo: { core: settings.core } } };
}

// A launch configuration with the core setting filled in when it names none.
export function withCoreSetting<T extends { [key: string]: unknown }>(
    configuration: T,
    settings: KorvoSettings,
): T {
    if (configuration.core || !settings.core) return configuration;
    return { ...configuration, core: settings.core };
}
