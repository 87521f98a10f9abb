from tortoise import BaseDBAsyncClient


async def upgrade(db: BaseDBAsyncClient) -> str:
    return """
        CREATE TABLE "memo" ("id" SERIAL NOT NULL PRIMARY KEY);
        ALTER TABLE "memo" ADD "title" VARCHAR(100) NOT NULL;
        UPDATE "settings" SET "value" = 1;
        ALTER TABLE "memo" ADD "body" TEXT NOT NULL;
        CREATE TABLE "s"."t" ("id" INT);
        ALTER TABLE "t" ADD "x" INT NOT NULL;
        ALTER TABLE "s"."t" RENAME TO "u";
        ALTER TABLE "s"."u" ADD "y" INT NOT NULL;
        ALTER TABLE "u" ADD "z" INT NOT NULL;
        CREATE INDEX "idx_u_y" ON "s"."u" ("y");
        DROP TABLE "s"."u";"""
