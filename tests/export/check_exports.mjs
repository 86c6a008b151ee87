// Checks glTF exports in one Node process: the Khronos validator on every
// file, and three.js as an independent reader: each file is loaded with
// GLTFLoader, its animation played with AnimationMixer, and every node that
// carries the player's node number (extras.sceneNode) is compared with where
// `hlvtool info --time` put it.
//
//   node check_exports.mjs MANIFEST.json
//
// The manifest: {"files": [{"path": "x.glb", "checks": [{"time": t,
// "nodes": [{"number": n, "world_position": [x, y, z],
// "view_direction": [x, y, z]?}]}]}]} with positions in the player's
// (left-handed) axes. Prints one JSON line per file.
import { readFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import validator from 'gltf-validator';
import * as THREE from 'three';
import { GLTFLoader } from 'three/examples/jsm/loaders/GLTFLoader.js';

// No DOM here: pictures load as empty 1x1 images (only motion is compared).
THREE.ImageLoader.prototype.load = function (url, onLoad) {
    const image = { width: 1, height: 1 };
    setTimeout(() => onLoad && onLoad(image), 0);
    return image;
};
globalThis.createImageBitmap = undefined;
globalThis.self ??= globalThis;  // embedded pictures become blob URLs through self.URL
// The file loader reports progress on the embedded buffers of .gltf files.
globalThis.ProgressEvent ??= class ProgressEvent extends Event {
    constructor(type, init = {}) {
        super(type);
        Object.assign(this, init);
    }
};

// A .gltf's buffer and pictures are files beside it.
const beside = (path, uri) => readFileSync(join(dirname(path), decodeURIComponent(uri)));

// Node's fetch reads no files: three.js gets a .gltf's files put into it as
// data URIs.
function inlined(path, bytes) {
    if (!path.endsWith('.gltf'))
        return bytes;
    const json = JSON.parse(bytes.toString('utf8'));
    for (const item of [...(json.buffers ?? []), ...(json.images ?? [])]) {
        if (!item.uri || item.uri.startsWith('data:'))
            continue;
        const type = item.uri.endsWith('.png') ? 'image/png' : item.uri.endsWith('.jpg') ? 'image/jpeg' : 'application/octet-stream';
        item.uri = `data:${type};base64,` + beside(path, item.uri).toString('base64');
    }
    return Buffer.from(JSON.stringify(json));
}

function parse(bytes) {
    const buffer = bytes.buffer.slice(bytes.byteOffset, bytes.byteOffset + bytes.byteLength);
    return new Promise((resolve, reject) => new GLTFLoader().parse(buffer, '', resolve, reject));
}

// The player's point (x, y, z) is glTF's (x, y, -z).
const mirrored = (p) => new THREE.Vector3(p[0], p[1], -p[2]);

async function check(file) {
    const bytes = readFileSync(file.path);
    const report = await validator.validateBytes(new Uint8Array(bytes), {
        maxIssues: 50,
        uri: file.path,
        externalResourceFunction: async (uri) => new Uint8Array(beside(file.path, uri)),
    });
    const result = {
        path: file.path,
        validatorErrors: report.issues.numErrors,
        validatorWarnings: report.issues.numWarnings,
        messages: report.issues.messages.filter((m) => m.severity === 0).slice(0, 5).map((m) => `${m.code} ${m.pointer ?? ''} ${m.message}`),
        warnings: report.issues.messages.filter((m) => m.severity === 1).slice(0, 5).map((m) => `${m.code} ${m.pointer ?? ''} ${m.message}`),
        compared: 0,
        maxError: 0,
        maxDirectionError: 0,
        worst: null,
        missing: [],
    };
    const gltf = await parse(inlined(file.path, bytes));
    result.interpolations = [...new Set((gltf.parser.json.animations ?? []).flatMap(
        (animation) => animation.samplers.map((sampler) => sampler.interpolation ?? 'LINEAR')))].sort();
    const byNumber = new Map();
    gltf.scene.traverse((object) => {
        if (object.userData && object.userData.sceneNode)
            byNumber.set(object.userData.sceneNode, object);
    });
    const mixer = new THREE.AnimationMixer(gltf.scene);
    const actions = gltf.animations.map((clip) => {
        const action = mixer.clipAction(clip);
        action.setLoop(THREE.LoopOnce);
        action.clampWhenFinished = true;
        return action;
    });
    // glTF holds the last value after the last key; a finished action
    // pauses, so each time starts the actions afresh.
    // A timeline that started before 0 was moved later by the asset's timeShift.
    const shift = (gltf.asset.extras && gltf.asset.extras.timeShift) || 0;
    const play = (time) => {
        for (const action of actions)
            action.reset().play();
        const duration = Math.max(0, ...gltf.animations.map((clip) => clip.duration));
        mixer.setTime(Math.min(time + shift, duration));
    };
    const position = new THREE.Vector3();
    const quaternion = new THREE.Quaternion();
    for (const at of file.checks) {
        play(at.time);
        gltf.scene.updateMatrixWorld(true);
        for (const node of at.nodes) {
            const object = byNumber.get(node.number);
            if (!object) {
                if (!result.missing.includes(node.number))
                    result.missing.push(node.number);
                continue;
            }
            object.getWorldPosition(position);
            const error = position.distanceTo(mirrored(node.world_position));
            result.compared++;
            if (error > result.maxError) {
                result.maxError = error;
                result.worst = { node: node.number, time: at.time, got: position.toArray(), expected: mirrored(node.world_position).toArray() };
            }
            if (node.view_direction) {
                object.getWorldQuaternion(quaternion);
                const looking = new THREE.Vector3(0, 0, -1).applyQuaternion(quaternion);
                const expected = mirrored(node.view_direction).normalize();
                result.maxDirectionError = Math.max(result.maxDirectionError, looking.distanceTo(expected));
            }
        }
    }
    return result;
}

const manifest = JSON.parse(readFileSync(process.argv[2], 'utf8'));
for (const file of manifest.files) {
    try {
        console.log(JSON.stringify(await check(file)));
    } catch (error) {
        console.log(JSON.stringify({ path: file.path, failure: String(error && error.stack || error) }));
    }
}
