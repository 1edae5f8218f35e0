<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>controls_texts</name>
    <message>
        <source>以後このメッセージを表示しない</source>
        <translation>Don&apos;t show this message again</translation>
    </message>
    <message>
        <source>はい</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>いいえ</source>
        <translation>No</translation>
    </message>
    <message>
        <source>完了</source>
        <translation>Finished</translation>
    </message>
    <message>
        <source>縮小画像の生成が終了しました。今すぐ出力先の
フォルダを開きますか？</source>
        <translation>The reduced images have been made.
Open the output folder now?</translation>
    </message>
    <message>
        <source>確認</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>この操作をすると、画像の回転設定がクリアされます。
処理を続けますか？</source>
        <translation>This clears the rotation set for the images.
Do you want to continue?</translation>
    </message>
    <message>
        <source>この操作をすると、各種設定値が初期化されます。
処理を続けますか？</source>
        <translation>This resets all settings to their defaults.
Do you want to continue?</translation>
    </message>
    <message>
        <source>ペリモン !! のバージョン情報</source>
        <translation>About Pelimon !!</translation>
    </message>
    <message>
        <source>ペリモン Version 1.42</source>
        <translation>Pelimon Version 1.42</translation>
    </message>
    <message>
        <source>デスクトップ</source>
        <translation>Desktop</translation>
    </message>
    <message>
        <source>マイドキュメント</source>
        <translation>Documents</translation>
    </message>
    <message>
        <source>マイピクチャ</source>
        <translation>Pictures</translation>
    </message>
    <message>
        <source>元画像と同一フォルダ</source>
        <translation>Same folder as the source images</translation>
    </message>
    <message>
        <source>画像ではありません</source>
        <translation>Not an image</translation>
    </message>
</context>
<context>
    <name>exif_dialog_texts</name>
    <message>
        <source>Exif 情報</source>
        <translation>Exif Information</translation>
    </message>
    <message>
        <source>タグの名前</source>
        <translation>Tag</translation>
    </message>
    <message>
        <source>説明</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>クリップボード</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>ペリモン !!</source>
        <translation>Pelimon !!</translation>
    </message>
</context>
<context>
    <name>main_texts</name>
    <message>
        <source>ペリモン !!</source>
        <translation>Pelimon !!</translation>
    </message>
    <message>
        <source>ペリモン !! のバージョン情報...</source>
        <translation>About Pelimon !!...</translation>
    </message>
    <message>
        <source>画像ファイルの存在するフォルダ</source>
        <translation>Folder of the source images</translation>
    </message>
    <message>
        <source>ファイル一覧</source>
        <translation>Files</translation>
    </message>
    <message>
        <source>（ファイル数 ： ）</source>
        <translation>(Files: )</translation>
    </message>
    <message>
        <source>画像のプレビュー</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>対象画像</source>
        <translation>Source types</translation>
    </message>
    <message>
        <source>縮小画像の出力先フォルダ</source>
        <translation>Output folder for the reduced images</translation>
    </message>
    <message>
        <source>縮小サイズ</source>
        <translation>Reduced size</translation>
    </message>
    <message>
        <source>画像の回転</source>
        <translation>Rotation</translation>
    </message>
    <message>
        <source>縮小画像のファイル形式</source>
        <translation>Output file format</translation>
    </message>
    <message>
        <source>画質（JPEG・WebP・AVIF）</source>
        <translation>Quality (JPEG, WebP, AVIF)</translation>
    </message>
    <message>
        <source>低画質</source>
        <translation>Low</translation>
    </message>
    <message>
        <source>高画質</source>
        <translation>High</translation>
    </message>
    <message>
        <source>選択</source>
        <translation>Select all</translation>
    </message>
    <message>
        <source>解除</source>
        <translation>Clear all</translation>
    </message>
    <message>
        <source>その他</source>
        <translation>Other</translation>
    </message>
    <message>
        <source>現在の設定</source>
        <translation>Current setting</translation>
    </message>
    <message>
        <source>設定</source>
        <translation>Set...</translation>
    </message>
    <message>
        <source>リセット</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>元画像と同じ</source>
        <translation>Same as source</translation>
    </message>
    <message>
        <source>デフォルト</source>
        <translation>Defaults</translation>
    </message>
    <message>
        <source>オプション</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>実行</source>
        <translation>Run</translation>
    </message>
    <message>
        <source>ヘルプ</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>名前</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>サイズ</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>幅・高さ固定 ： 640 x 480 pxel</source>
        <translation>Width and height fixed: 640 x 480 pixel</translation>
    </message>
    <message>
        <source>幅・高さ固定 ： 480 x 360 pxel</source>
        <translation>Width and height fixed: 480 x 360 pixel</translation>
    </message>
    <message>
        <source>解像度&#x3000;%1 x %2</source>
        <translation>Resolution  %1 x %2</translation>
    </message>
    <message>
        <source>色&#x3000;数&#x3000;%1&#x3000;色</source>
        <translation>Colours  %1</translation>
    </message>
    <message>
        <source>画像ファイルの有るフォルダを選んでください</source>
        <translation>Choose the folder that holds the images</translation>
    </message>
    <message>
        <source>画像ファイルを出力するフォルダを選んでください</source>
        <translation>Choose the folder to write the images to</translation>
    </message>
    <message>
        <source>1 ～ 100 の値を入力して下さい。</source>
        <translation>Enter a value from 1 to 100.</translation>
    </message>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>設定ファイルエラー</source>
        <translation>Settings file error</translation>
    </message>
    <message>
        <source>ヘルプファイルが見つかりません。</source>
        <translation>The help file cannot be found.</translation>
    </message>
    <message>
        <source>処理結果</source>
        <translation>Results</translation>
    </message>
    <message>
        <source>%1 個の画像を縮小できませんでした。</source>
        <translation>%1 image(s) could not be reduced.</translation>
    </message>
    <message>
        <source>%1 個の画像を別の名前で保存しました。</source>
        <translation>%1 image(s) were saved under another name.</translation>
    </message>
    <message>
        <source>処理を中止しました。</source>
        <translation>The run was cancelled.</translation>
    </message>
    <message>
        <source>%1 個の画像を書き出しました。</source>
        <translation>%1 image(s) written.</translation>
    </message>
    <message>
        <source>%1 個の画像は出力しませんでした（拡大しない設定で縮小の必要がない画像、見つからなくなった画像）。</source>
        <translation>%1 image(s) were not written (images already small enough when enlarging is off, or images no longer found).</translation>
    </message>
    <message>
        <source>ファイル</source>
        <translation>File</translation>
    </message>
    <message>
        <source>理由</source>
        <translation>Reason</translation>
    </message>
    <message>
        <source>フォルダ %1 は存在しません。</source>
        <translation>The folder %1 does not exist.</translation>
    </message>
    <message>
        <source>出力先のフォルダを開けませんでした。</source>
        <translation>The output folder could not be opened.</translation>
    </message>
    <message>
        <source>%1、%2 KB 以内</source>
        <translation>%1, at most %2 KB</translation>
    </message>
</context>
<context>
    <name>option_texts</name>
    <message>
        <source>オプション設定</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>全般</source>
        <translation>General</translation>
    </message>
    <message>
        <source>ファイル名</source>
        <translation>File Names</translation>
    </message>
    <message>
        <source>縮小方法</source>
        <translation>Reduction</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>ドラッグ&amp;&amp;ドロップ時の動作</source>
        <translation>On drag &amp;&amp; drop</translation>
    </message>
    <message>
        <source>すぐに縮小処理を開始する</source>
        <translation>Start reducing at once</translation>
    </message>
    <message>
        <source>元画像より大きいサイズを指定した場合</source>
        <translation>When the size is larger than the source image</translation>
    </message>
    <message>
        <source>元画像と同サイズも含める</source>
        <translation>Also when it is the same size</translation>
    </message>
    <message>
        <source>拡大する</source>
        <translation>Enlarge</translation>
    </message>
    <message>
        <source>何もしない</source>
        <translation>Do nothing</translation>
    </message>
    <message>
        <source>Exif 情報のみ削除</source>
        <translation>Only remove the Exif information</translation>
    </message>
    <message>
        <source>Exif 情報</source>
        <translation>Exif information</translation>
    </message>
    <message>
        <source>Exif 情報は残したままにする</source>
        <translation>Keep the Exif information</translation>
    </message>
    <message>
        <source>位置情報を削除する</source>
        <translation>Remove the location</translation>
    </message>
    <message>
        <source>更新日を撮影日にする</source>
        <translation>Set the modified date to the shooting date</translation>
    </message>
    <message>
        <source>Exif の回転情報で自動回転する</source>
        <translation>Rotate by the Exif orientation</translation>
    </message>
    <message>
        <source>色を sRGB に変換する</source>
        <translation>Convert colours to sRGB</translation>
    </message>
    <message>
        <source>出力先フォルダ</source>
        <translation>Output folder</translation>
    </message>
    <message>
        <source>ユーザー指定</source>
        <translation>Chosen folder</translation>
    </message>
    <message>
        <source>元画像フォルダ内 resize+日付フォルダ</source>
        <translation>resize+date folder in the source folder</translation>
    </message>
    <message>
        <source>縮小画像ファイルの命名規則</source>
        <translation>Names of the reduced image files</translation>
    </message>
    <message>
        <source>元の名前の末尾に文字列追加</source>
        <translation>Add text to the end of the original name</translation>
    </message>
    <message>
        <source>元の名前の先頭に文字列追加</source>
        <translation>Add text to the start of the original name</translation>
    </message>
    <message>
        <source>追加文字</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>指定した名前の末尾に通し番号を追加</source>
        <translation>A given name followed by a running number</translation>
    </message>
    <message>
        <source>基本名</source>
        <translation>Base name</translation>
    </message>
    <message>
        <source>開始番号</source>
        <translation>Start number</translation>
    </message>
    <message>
        <source>通し番号は桁数を揃える</source>
        <translation>Pad the number with zeros</translation>
    </message>
    <message>
        <source>通し番号を記憶する</source>
        <translation>Remember the next number</translation>
    </message>
    <message>
        <source>番号クリア</source>
        <translation>Reset number</translation>
    </message>
    <message>
        <source>アルゴリズム（上のものほど綺麗に縮小できます）</source>
        <translation>Algorithm (the higher, the finer the result)</translation>
    </message>
    <message>
        <source>領域内平均カラー値 １</source>
        <translation>Area average colour 1</translation>
    </message>
    <message>
        <source>領域内平均カラー値 ２</source>
        <translation>Area average colour 2</translation>
    </message>
    <message>
        <source>サンプリング法</source>
        <translation>Sampling</translation>
    </message>
    <message>
        <source>エフェクト</source>
        <translation>Effects</translation>
    </message>
    <message>
        <source>画像をクッキリさせる</source>
        <translation>Sharpen</translation>
    </message>
    <message>
        <source>ゲイン</source>
        <translation>Gain</translation>
    </message>
    <message>
        <source>グレイスケール</source>
        <translation>Grayscale</translation>
    </message>
    <message>
        <source>セピア調にする</source>
        <translation>Sepia</translation>
    </message>
    <message>
        <source>コントラスト調整</source>
        <translation>Contrast</translation>
    </message>
    <message>
        <source>命名規則確認</source>
        <translation>Confirm file names</translation>
    </message>
    <message>
        <source>元画像と同じファイル名で縮小します。よろしいですか？</source>
        <translation>The reduced images get the same names as the source images. Continue?</translation>
    </message>
    <message>
        <source>基本名確認</source>
        <translation>Confirm base name</translation>
    </message>
    <message>
        <source>基本名を resize とします。よろしいですか？</source>
        <translation>The base name will be resize. Continue?</translation>
    </message>
    <message>
        <source>ファイル名エラー</source>
        <translation>File name error</translation>
    </message>
    <message>
        <source>追加文字と基本名には「/」を使えません。</source>
        <translation>The text and the base name cannot contain &quot;/&quot;.</translation>
    </message>
</context>
<context>
    <name>progress_texts</name>
    <message>
        <source>画像生成中</source>
        <translation>Making images</translation>
    </message>
    <message>
        <source>画像生成中です。しばらくお待ち下さい。</source>
        <translation>Making the images. Please wait.</translation>
    </message>
    <message>
        <source>%1 % 完了</source>
        <translation>%1 % done</translation>
    </message>
    <message>
        <source>0% 完了</source>
        <translation>0% done</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>size_texts</name>
    <message>
        <source>サイズ設定</source>
        <translation>Size Settings</translation>
    </message>
    <message>
        <source>画像の大きさ（解像度）の設定</source>
        <translation>Image size (resolution)</translation>
    </message>
    <message>
        <source>画像サイズを指定する（ピクセル単位）</source>
        <translation>Size in pixels</translation>
    </message>
    <message>
        <source>元画像に対する割合を指定する</source>
        <translation>Percentage of the source image</translation>
    </message>
    <message>
        <source>幅</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>高さ</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>指定しないピクセル数は偶数にする</source>
        <translation>Make the other dimension an even number of pixels</translation>
    </message>
    <message>
        <source>半分にする</source>
        <translation>Halve</translation>
    </message>
    <message>
        <source>2 倍にする</source>
        <translation>Double</translation>
    </message>
    <message>
        <source>ファイルサイズを指定して縮小する</source>
        <translation>Reduce to a file size</translation>
    </message>
    <message>
        <source>指定サイズ</source>
        <translation>File size</translation>
    </message>
    <message>
        <source>最低限確保する画質</source>
        <translation>Lowest quality</translation>
    </message>
    <message>
        <source>指定ファイルサイズに出来ない場合ここで指定した画質で縮小</source>
        <translation>When the file size cannot be reached, this quality is used</translation>
    </message>
    <message>
        <source>低画質（1）</source>
        <translation>Low (1)</translation>
    </message>
    <message>
        <source>高画質（100）</source>
        <translation>High (100)</translation>
    </message>
    <message>
        <source>縮小画像の縦横比</source>
        <translation>Aspect ratio of the reduced image</translation>
    </message>
    <message>
        <source>元画像の縦横比を保持する</source>
        <translation>Keep the aspect ratio of the source</translation>
    </message>
    <message>
        <source>幅を指定する</source>
        <translation>By width</translation>
    </message>
    <message>
        <source>高さを指定する</source>
        <translation>By height</translation>
    </message>
    <message>
        <source>指定矩形に収まるように合わせる</source>
        <translation>Fit into the rectangle</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>1 ～ 100 の値を入力して下さい。</source>
        <translation>Enter a value from 1 to 100.</translation>
    </message>
    <message>
        <source>データサイズが不正です。</source>
        <translation>The file size is not valid.</translation>
    </message>
    <message>
        <source>確認</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>データサイズが大きすぎるようです。正しくセットされていますか？</source>
        <translation>The file size looks too large. Is it set correctly?</translation>
    </message>
    <message>
        <source>画像サイズエラー</source>
        <translation>Image size error</translation>
    </message>
    <message>
        <source>画像サイズの指定が不正です。正しいサイズにセットし直して下さい。</source>
        <translation>The image size is not valid. Please set a valid size.</translation>
    </message>
    <message>
        <source>幅固定 ： %1 pixel</source>
        <translation>Width fixed: %1 pixel</translation>
    </message>
    <message>
        <source>高さ固定 ： %1 pixel</source>
        <translation>Height fixed: %1 pixel</translation>
    </message>
    <message>
        <source>領域指定 ： %1 x %2 pixel</source>
        <translation>Fit into: %1 x %2 pixel</translation>
    </message>
    <message>
        <source>幅・高さ固定 ： %1 x %2 pixel</source>
        <translation>Width and height fixed: %1 x %2 pixel</translation>
    </message>
    <message>
        <source>幅固定 ： %1%</source>
        <translation>Width fixed: %1%</translation>
    </message>
    <message>
        <source>高さ固定 ： %1%</source>
        <translation>Height fixed: %1%</translation>
    </message>
    <message>
        <source>領域指定 ： %1% x %2%</source>
        <translation>Fit into: %1% x %2%</translation>
    </message>
    <message>
        <source>幅・高さ固定 ： %1% x %2%</source>
        <translation>Width and height fixed: %1% x %2%</translation>
    </message>
    <message>
        <source>ファイルサイズ指定（JPEG・WebP・AVIF で保存時のみ有効）</source>
        <translation>File size (JPEG, WebP and AVIF output only)</translation>
    </message>
</context>
</TS>
