// What a viewer shows of a glTF file, read with three.js's GLTFLoader in
// Node: each mesh's material (colour, opacity, blending, sides, picture) and,
// at each vertex, the colour drawn there unlit: the material's colour times
// the picture's texel at the vertex's UV times the vertex colour, in display
// (sRGB) bytes. Positions are given in the player's (left-handed) axes.
//
//   node check_looks.mjs FILE.glb|FILE.gltf
//
// Prints one JSON object, with the Khronos validator's counts of errors and
// warnings and their first messages.
import { readFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { inflateSync } from 'node:zlib';
import validator from 'gltf-validator';
import * as THREE from 'three';
import { GLTFLoader } from 'three/examples/jsm/loaders/GLTFLoader.js';

// PNG pictures as the loader's image: width, height and RGBA rows, top row
// first (8-bit, not interlaced: what LightWave's tools and ours write).
function decodePng(bytes) {
    let at = 8, width = 0, height = 0, type = 0, palette = null;
    const data = [];
    while (at < bytes.length) {
        const length = bytes.readUInt32BE(at), kind = bytes.toString('latin1', at + 4, at + 8);
        const body = bytes.subarray(at + 8, at + 8 + length);
        if (kind === 'IHDR') {
            width = body.readUInt32BE(0);
            height = body.readUInt32BE(4);
            if (body[8] !== 8 || body[12] !== 0)
                throw new Error('only 8-bit, non-interlaced PNG pictures are read here');
            type = body[9];
        } else if (kind === 'PLTE') {
            palette = body;
        } else if (kind === 'IDAT') {
            data.push(body);
        }
        at += 12 + length;
    }
    const channels = { 0: 1, 2: 3, 3: 1, 4: 2, 6: 4 }[type];
    const raw = inflateSync(Buffer.concat(data));
    const stride = width * channels, rows = new Uint8Array(stride * height);
    for (let y = 0; y < height; ++y) {
        const filter = raw[y * (stride + 1)];
        for (let x = 0; x < stride; ++x) {
            const value = raw[y * (stride + 1) + 1 + x];
            const a = x >= channels ? rows[y * stride + x - channels] : 0;
            const b = y > 0 ? rows[(y - 1) * stride + x] : 0;
            const c = x >= channels && y > 0 ? rows[(y - 1) * stride + x - channels] : 0;
            const p = a + b - c, pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
            const predicted = [0, a, b, (a + b) >> 1, pa <= pb && pa <= pc ? a : pb <= pc ? b : c][filter];
            rows[y * stride + x] = (value + predicted) & 255;
        }
    }
    const rgba = new Uint8Array(width * height * 4);
    for (let i = 0; i < width * height; ++i) {
        const s = rows.subarray(i * channels, i * channels + channels);
        const colour = type === 3 ? [...palette.subarray(s[0] * 3, s[0] * 3 + 3), 255]
                     : channels <= 2 ? [s[0], s[0], s[0], channels === 2 ? s[1] : 255]
                     : [s[0], s[1], s[2], channels === 4 ? s[3] : 255];
        rgba.set(colour, i * 4);
    }
    return { width, height, data: rgba };
}

THREE.ImageLoader.prototype.load = function (url, onLoad, onProgress, onError) {
    fetch(url).then((r) => r.arrayBuffer()).then((buffer) => {
        const image = decodePng(Buffer.from(buffer));
        onLoad && onLoad(image);
    }).catch((error) => onError && onError(error));
    return {};
};
globalThis.createImageBitmap = undefined;
globalThis.self ??= globalThis;
globalThis.ProgressEvent ??= class ProgressEvent extends Event {
    constructor(type, init = {}) {
        super(type);
        Object.assign(this, init);
    }
};

const path = process.argv[2];
let bytes = readFileSync(path);
if (path.endsWith('.gltf')) {
    const json = JSON.parse(bytes.toString('utf8'));
    for (const item of [...(json.buffers ?? []), ...(json.images ?? [])])
        if (item.uri && !item.uri.startsWith('data:'))
            item.uri = 'data:application/octet-stream;base64,' + readFileSync(join(dirname(path), decodeURIComponent(item.uri))).toString('base64');
    bytes = Buffer.from(JSON.stringify(json));
}
const report = await validator.validateBytes(new Uint8Array(bytes), { maxIssues: 20 });
const validation = {
    errors: report.issues.numErrors,
    warnings: report.issues.numWarnings,
    messages: report.issues.messages.filter((m) => m.severity <= 1).slice(0, 5).map((m) => `${m.code} ${m.pointer ?? ''} ${m.message}`),
};
const buffer = bytes.buffer.slice(bytes.byteOffset, bytes.byteOffset + bytes.byteLength);
const gltf = await new Promise((resolve, reject) => new GLTFLoader().parse(buffer, '', resolve, reject));

const display = (linear) => Math.round(255 * Math.min(1, Math.max(0, new THREE.Color(linear, 0, 0).convertLinearToSRGB().r)));
const linear = (byte) => new THREE.Color(byte / 255, 0, 0).convertSRGBToLinear().r;
const meshes = [];
gltf.scene.updateMatrixWorld(true);
gltf.scene.traverse((object) => {
    if (!object.isMesh)
        return;
    const material = object.material, map = material.map && material.map.image;
    const geometry = object.geometry, positions = geometry.attributes.position;
    const uvs = geometry.attributes.uv, colours = geometry.attributes.color;
    const vertices = [];
    for (let v = 0; v < Math.min(positions.count, 200); ++v) {
        const p = new THREE.Vector3().fromBufferAttribute(positions, v).applyMatrix4(object.matrixWorld);
        const shown = [material.color.r, material.color.g, material.color.b, material.opacity];
        const vertex = { position: [p.x, p.y, -p.z] };
        if (map && uvs) {
            const u = uvs.getX(v), w = uvs.getY(v);
            const x = Math.min(map.width - 1, Math.max(0, Math.floor(u * map.width)));
            const y = Math.min(map.height - 1, Math.max(0, Math.floor(w * map.height)));
            const texel = map.data.subarray((y * map.width + x) * 4, (y * map.width + x) * 4 + 4);
            for (let c = 0; c < 3; ++c)
                shown[c] *= linear(texel[c]);
            shown[3] *= texel[3] / 255;
            vertex.uv = [u, w];
        }
        if (colours && material.vertexColors) {
            for (let c = 0; c < 3; ++c)
                shown[c] *= colours.getComponent(v, c);
            if (colours.itemSize === 4)
                shown[3] *= colours.getComponent(v, 3);
        }
        vertex.shown = [display(shown[0]), display(shown[1]), display(shown[2]), Math.round(255 * shown[3])];
        vertices.push(vertex);
    }
    meshes.push({
        node: object.name,
        material: material.name,
        colour: [display(material.color.r), display(material.color.g), display(material.color.b)],
        opacity: material.opacity,
        blended: material.transparent,
        doubleSided: material.side === THREE.DoubleSide,
        picture: map ? [map.width, map.height] : null,
        vertices,
    });
});
const lights = [];
gltf.scene.traverse((object) => {
    if (object.isLight)
        lights.push({ name: object.name, kind: object.type, intensity: object.intensity, distance: object.distance,
                      position: object.getWorldPosition(new THREE.Vector3()).toArray() });
});
console.log(JSON.stringify({ meshes, lights, extras: gltf.asset.extras ?? {}, validation }));
